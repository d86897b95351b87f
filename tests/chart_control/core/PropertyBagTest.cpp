#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/model/ChartModel.h"
#include "pelomar/PropertyBag.h"
#include "../../support/GermanLocale.h"

using namespace pelomar;
using namespace pelomar::core;

namespace {
// Records every read and write with its key and default, in order.
class RecordingBag : public MemoryPropertyBag {
public:
    std::vector<std::string> reads, writes;
    PropertyValue ReadProperty(const std::string& name, const PropertyValue& def) override {
        reads.push_back(name);
        return MemoryPropertyBag::ReadProperty(name, def);
    }
    void WriteProperty(const std::string& name, const PropertyValue& value,
                       const PropertyValue& def) override {
        writes.push_back(name);
        MemoryPropertyBag::WriteProperty(name, value, def);
    }
};

const std::vector<std::string> kOrder = {
    "BackColor", "XStart", "NumPoints", "GraphTitle", "NumPoints", "AutoRedraw",
    "Y2Start", "Y2End", "XLabel", "Y1Label", "Y2Label", "SamplingRate",
    "XEnd", "Y1Start", "Y1End", "ChartType", "Y1Color", "Y2Color",
};
}  // namespace

TEST(PersistedProperties, ReadAndWriteInTheirOrder) {
    ChartModel m;
    RecordingBag bag;
    m.readPropertyFields(bag);
    EXPECT_EQ(bag.reads, kOrder);
    m.WriteProperties(bag);
    EXPECT_EQ(bag.writes, kOrder);
    EXPECT_TRUE(bag.entries().empty());  // every value at its default is left out
}

TEST(PersistedProperties, AnEmptyBagYieldsEveryDefault) {
    ChartModel m;
    m.setXEnd(99);
    m.setGraphTitle("x");
    MemoryPropertyBag empty;
    m.readPropertyFields(empty);
    const ChartProperties& p = m.properties();
    EXPECT_EQ(p.BackColor, 0x80000005u);
    EXPECT_EQ(p.XStart, 0);
    EXPECT_EQ(p.XEnd, 10);
    EXPECT_EQ(p.Y1Start, -0.2f);
    EXPECT_EQ(p.Y1End, 2);
    EXPECT_EQ(p.Y2Start, 0);
    EXPECT_EQ(p.Y2End, 500);
    EXPECT_EQ(p.SamplingRate, 5);
    EXPECT_EQ(p.GraphTitle, "UnKnown");
    EXPECT_EQ(p.XLabel, "Time [minutes]");
    EXPECT_EQ(p.Y1Label, "A.U.");
    EXPECT_EQ(p.Y2Label, "mS/cm");
    EXPECT_TRUE(p.AutoRedraw);
    EXPECT_EQ(p.ChartType, ChartTypeEnm::Pelomar);
    EXPECT_EQ(p.Y1Color, 0xFF0000u);
    EXPECT_EQ(p.Y2Color, 0xFFu);
}

TEST(PersistedProperties, WrittenValuesReadBackConverted) {
    ChartModel a(true);
    a.setXEnd(30);
    a.setY1End(1.5f);
    a.setGraphTitle("Run 7");
    a.setSamplingRate(2);
    a.setChartType(ChartTypeEnm::LineProfile);
    a.setBackColor(0x00FFFFFF);
    MemoryPropertyBag bag;
    a.WriteProperties(bag);

    ChartModel b;
    b.readPropertyFields(bag);
    EXPECT_EQ(b.XEnd(), 30);
    EXPECT_EQ(b.Y1End(), 1.5f);
    EXPECT_EQ(b.GraphTitle(), "Run 7");
    EXPECT_EQ(b.SamplingRate(), 2);
    EXPECT_EQ(b.chartType(), ChartTypeEnm::LineProfile);
    EXPECT_EQ(b.BackColor(), 0x00FFFFFFu);

    // Values of another type are converted to the field's.
    MemoryPropertyBag loose;
    loose.set("XEnd", std::string("12.5"));
    loose.set("AutoRedraw", int32_t{0});
    loose.set("Y1Color", 255.0);
    b.readPropertyFields(loose);
    EXPECT_EQ(b.XEnd(), 12.5f);
    EXPECT_FALSE(b.AutoRedraw());
    EXPECT_EQ(b.Y1Color(), 255u);
}

// Refused like 0 and negative rates: nothing stored, the time scale kept.
TEST(PersistedProperties, SamplingRateThatWouldOverflowTheUnzoomIsRefused) {
    ChartModel m;
    for (float rate : {0.0f, -1.0f, 1e-6f, 0.01f, 1e-38f}) {
        m.setSamplingRate(rate);
        EXPECT_EQ(m.SamplingRate(), 5) << rate;
    }
    m.setSamplingRate(0.02f);
    EXPECT_EQ(m.SamplingRate(), 0.02f);
}

TEST(PersistedProperties, InvalidValuesFallBackToTheKeysDefault) {
    const struct { const char* key; PropertyValue value; } cases[] = {
        {"SamplingRate", 0.0f}, {"SamplingRate", -3.0f}, {"SamplingRate", std::string("fast")},
        {"ChartType", int32_t{2}}, {"ChartType", int32_t{-1}}, {"XEnd", std::string("ten")},
        {"XEnd", 1e300},
        // Texts that read as infinity or beyond the Single range.
        {"XEnd", std::string("inf")}, {"XEnd", std::string("-Infinity")}, {"XEnd", std::string("1e39")},
        {"XEnd", std::string("nan")}, {"XEnd", std::numeric_limits<double>::infinity()},
        // Rates under which the duration or the unzoom would overflow.
        {"SamplingRate", std::string("1e-6")}, {"SamplingRate", std::string("1e-40")},
        {"SamplingRate", std::string("inf")},
    };
    for (const auto& c : cases) {
        ChartModel m;
        MemoryPropertyBag bag;
        bag.set(c.key, c.value);
        for (const char* range : {"XStart", "Y1Start", "Y1End", "Y2Start", "Y2End"}) bag.set(range, c.value);
        m.readPropertyFields(bag);
        if (c.key == std::string("XEnd")) {
            EXPECT_EQ(m.XStart(), 0);
            EXPECT_EQ(m.Y1Start(), -0.2f);
            EXPECT_EQ(m.Y1End(), 2);
            EXPECT_EQ(m.Y2Start(), 0);
            EXPECT_EQ(m.Y2End(), 500);
        }
        EXPECT_EQ(m.SamplingRate(), 5) << c.key;
        EXPECT_EQ(m.chartType(), ChartTypeEnm::Pelomar) << c.key;
        EXPECT_EQ(m.XEnd(), 10) << c.key;
    }
}

namespace {
// A bag kept as text, as a property file keeps it: numbers are written in
// the "C" form, whatever the process locale.
class TextBag : public PropertyBag {
public:
    std::map<std::string, std::string> text;
    PropertyValue ReadProperty(const std::string& name, const PropertyValue& def) override {
        const auto it = text.find(name);
        return it == text.end() ? def : PropertyValue(it->second);
    }
    void WriteProperty(const std::string& name, const PropertyValue& value, const PropertyValue&) override {
        char buf[64];
        if (const auto* f = std::get_if<float>(&value)) {
            text[name] = std::string(buf, std::to_chars(buf, buf + sizeof buf, *f).ptr);
        } else if (const auto* d = std::get_if<double>(&value)) {
            text[name] = std::string(buf, std::to_chars(buf, buf + sizeof buf, *d).ptr);
        } else if (const auto* i = std::get_if<int32_t>(&value)) {
            text[name] = std::to_string(*i);
        } else if (const auto* b = std::get_if<bool>(&value)) {
            text[name] = *b ? "True" : "False";
        } else {
            text[name] = std::get<std::string>(value);
        }
    }
};
}  // namespace

TEST(PersistedProperties, TextRoundTripIsTheSameUnderAGermanLocale) {
    tavrin::test::GermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine (scripts/setup makes one)";

    ChartModel written;
    ChartProperties& p = written.propertyFields();
    p.XStart = 1.5f;
    p.XEnd = 12.25f;
    p.Y1Start = -0.125f;
    p.Y1End = 2.5f;
    p.Y2Start = 0.5f;
    p.Y2End = 250.75f;
    p.SamplingRate = 2.5f;
    TextBag bag;
    written.WriteProperties(bag);
    EXPECT_EQ(bag.text.at("Y1End"), "2.5");

    ChartModel read;
    read.readPropertyFields(bag);
    const ChartProperties& q = read.propertyFields();
    EXPECT_EQ(q.XStart, 1.5f);
    EXPECT_EQ(q.XEnd, 12.25f);
    EXPECT_EQ(q.Y1Start, -0.125f);
    EXPECT_EQ(q.Y1End, 2.5f);
    EXPECT_EQ(q.Y2Start, 0.5f);
    EXPECT_EQ(q.Y2End, 250.75f);
    EXPECT_EQ(q.SamplingRate, 2.5f);

    // A number where a text is kept reads as its "C" form.
    bag.text.erase("GraphTitle");
    MemoryPropertyBag typed;
    typed.WriteProperty("GraphTitle", PropertyValue(1.5f), PropertyValue(std::string()));
    ChartModel titled;
    titled.readPropertyFields(typed);
    EXPECT_EQ(titled.propertyFields().GraphTitle, "1.5");
}
