#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/ChartModel.h"
#include "pelomar/PropertyBag.h"

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
