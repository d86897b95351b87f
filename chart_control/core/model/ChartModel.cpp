#include "ChartModel.h"

#include <charconv>
#include <cmath>

#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

namespace {

constexpr int32_t kPointStep = 30000;
constexpr int32_t kLabelStep = 25;
constexpr int32_t kMethodStep = 25;

// Conversions of a bag's value to a field's type; a value that cannot be
// converted gives the key's default.
// Read as the C library reads a number in its "C" locale (leading blanks, a
// sign, decimal or hexadecimal digits, inf and nan), whatever locale the
// process runs in: a persisted "1.5" must not read otherwise in a German one.
bool parseNumber(const std::string& s, double& out) {
    const char* p = s.data();
    const char* const end = p + s.size();
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == end || *p == '+' || *p == '-') return false;
    std::chars_format format = std::chars_format::general;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        format = std::chars_format::hex;
    }
    const auto [last, ec] = std::from_chars(p, end, out, format);
    if (last != end) return false;
    if (ec == std::errc::result_out_of_range) {
        // As the C library: beyond the range is infinity, below it zero.
        long double wide = 0;
        std::from_chars(p, end, wide, format);
        out = std::fabs(wide) >= 1 ? HUGE_VAL : 0.0;
    } else if (ec != std::errc()) {
        return false;
    }
    if (negative) out = -out;
    return true;
}

double asDouble(const PropertyValue& v, double fallback) {
    if (auto b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
    if (auto i = std::get_if<int32_t>(&v)) return *i;
    if (auto f = std::get_if<float>(&v)) return *f;
    if (auto d = std::get_if<double>(&v)) return *d;
    double parsed = 0;
    if (parseNumber(std::get<std::string>(v), parsed)) return parsed;
    return fallback;
}

float asSingle(const PropertyValue& v, float fallback) {
    // Infinity, not-a-number or a value beyond the Single range is as
    // unreadable as a text that is no number.
    const double d = asDouble(v, fallback);
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) return fallback;
    return static_cast<float>(d);
}

int32_t asLong(const PropertyValue& v, int32_t fallback) {
    try {
        return toLong(asDouble(v, fallback));
    } catch (const RuntimeError&) {
        return fallback;
    }
}

uint32_t asColor(const PropertyValue& v, uint32_t fallback) {
    const double d = asDouble(v, static_cast<int32_t>(fallback));
    if (d >= 0 && d <= 4294967295.0) return static_cast<uint32_t>(roundHalfEven(d));
    try {
        return static_cast<uint32_t>(toLong(d));
    } catch (const RuntimeError&) {
        return fallback;
    }
}

bool asBoolean(const PropertyValue& v, bool fallback) {
    if (auto b = std::get_if<bool>(&v)) return *b;
    if (auto s = std::get_if<std::string>(&v)) {
        if (*s == "True" || *s == "true") return true;
        if (*s == "False" || *s == "false") return false;
        double parsed = 0;
        return parseNumber(*s, parsed) ? parsed != 0 : fallback;
    }
    return asDouble(v, fallback ? -1 : 0) != 0;
}

std::string asString(const PropertyValue& v, const std::string& fallback) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    if (auto i = std::get_if<int32_t>(&v)) return std::to_string(*i);
    (void)fallback;
    char buf[32];
    const char* const end = std::to_chars(buf, buf + sizeof buf, asDouble(v, 0), std::chars_format::general, 7).ptr;
    return std::string(static_cast<const char*>(buf), end);
}

}  // namespace

ChartModel::ChartModel(bool designMode, size_t maxStoreElements)
    : designMode_(designMode),
      points_(kPointStep, maxStoreElements),
      labels_(kLabelStep, maxStoreElements),
      methods_(kMethodStep, maxStoreElements),
      controlFolder_(defaultControlFolder()) {
    recomputeTimeScale();
    targets_ = BackupLogTargets::generation(controlFolder_, 1, true);
}

// --- properties ---------------------------------------------------------------

void ChartModel::setBackColor(OleColor c) { props_.BackColor = c; changed("BackColor"); }
void ChartModel::setY1Color(OleColor c) { props_.Y1Color = c; changed("Y1Color"); }
void ChartModel::setY2Color(OleColor c) { props_.Y2Color = c; changed("Y2Color"); }
void ChartModel::setAutoRedraw(bool v) { props_.AutoRedraw = v; changed("AutoRedraw"); }
void ChartModel::setXStart(float v) { props_.XStart = v; view_.XStart = v; changed("XStart"); }
void ChartModel::setXEnd(float v) { props_.XEnd = v; view_.XEnd = v; changed("XEnd"); }
void ChartModel::setY1Start(float v) { props_.Y1Start = v; view_.Y1Start = v; changed("Y1Start"); }
void ChartModel::setY1End(float v) { props_.Y1End = v; view_.Y1End = v; changed("Y1End"); }
void ChartModel::setY2Start(float v) { props_.Y2Start = v; view_.Y2Start = v; changed("Y2Start"); }
void ChartModel::setY2End(float v) { props_.Y2End = v; view_.Y2End = v; changed("Y2End"); }
void ChartModel::setXLabel(const std::string& v) { props_.XLabel = v; changed("XLabel"); }
void ChartModel::setY1Label(const std::string& v) { props_.Y1Label = v; changed("Y1Label"); }
void ChartModel::setY2Label(const std::string& v) { props_.Y2Label = v; changed("Y2Label"); }
void ChartModel::setGraphTitle(const std::string& v) { props_.GraphTitle = v; changed("GraphTitle"); }

ChartTypeEnm ChartModel::ChartType() const {
    if (!designMode_) throw RuntimeError(err::kNotSupportedAtRunTime);
    return props_.ChartType;
}

void ChartModel::setChartType(ChartTypeEnm t) {
    if (!designMode_) throw RuntimeError(err::kNotSupportedAtRunTime);
    if (t != ChartTypeEnm::Pelomar && t != ChartTypeEnm::LineProfile) {
        throw RuntimeError(err::kInvalidPropertyValue);
    }
    if (!isUsableSamplingRate(props_.SamplingRate, t)) throw RuntimeError(err::kInvalidPropertyValue);
    props_.ChartType = t;
    changed("ChartType");
    recomputeTimeScale();
}

void ChartModel::setSamplingRate(float v) {
    if (!isUsableSamplingRate(v, props_.ChartType)) return;
    props_.SamplingRate = v;
    changed("SamplingRate");
    recomputeTimeScale();
}

void ChartModel::setNumPoints(int32_t n) {
    if (designMode_) throw RuntimeError(err::kNotSupportedAtDesignTime);
    const int32_t e = points_.setCount(n);
    if (e != err::kNone) throw RuntimeError(e);
    if (lastDrawn_ > n) lastDrawn_ = n;
    changed("NumPoints");
}

void ChartModel::UpdatePointsPerUnit() noexcept {
    scale_.PointsPerUnit = TimeScale::pointsPerUnit(props_.SamplingRate, props_.ChartType);
}

void ChartModel::recomputeTimeScale() noexcept {
    UpdatePointsPerUnit();
    scale_.MinutesPerPoint = 1 / scale_.PointsPerUnit;
}

// --- persisted properties -------------------------------------------------------

void ChartModel::initPropertyFields() {
    const ChartProperties defaults;
    props_.XStart = defaults.XStart;
    points_.setCount(0);
    props_.GraphTitle = defaults.GraphTitle;
    props_.AutoRedraw = defaults.AutoRedraw;
    props_.Y2Start = defaults.Y2Start;
    props_.Y2End = defaults.Y2End;
    props_.XLabel = defaults.XLabel;
    props_.Y1Label = defaults.Y1Label;
    props_.Y2Label = defaults.Y2Label;
    props_.SamplingRate = defaults.SamplingRate;
    props_.XEnd = defaults.XEnd;
    props_.Y1Start = defaults.Y1Start;
    props_.Y1End = defaults.Y1End;
    props_.ChartType = defaults.ChartType;
    props_.Y1Color = defaults.Y1Color;
    props_.Y2Color = defaults.Y2Color;
}

void ChartModel::readPropertyFields(PropertyBag& bag) {
    const ChartProperties d;
    props_.BackColor = asColor(bag.ReadProperty("BackColor", static_cast<int32_t>(d.BackColor)), d.BackColor);
    props_.XStart = asSingle(bag.ReadProperty("XStart", d.XStart), d.XStart);
    // NumPoints is read (twice, as stored) but not applied: the clear at the
    // end of loading sets it to 0 anyway, and a stored count must not make
    // the point array grow.
    (void)bag.ReadProperty("NumPoints", int32_t{0});
    props_.GraphTitle = asString(bag.ReadProperty("GraphTitle", d.GraphTitle), d.GraphTitle);
    (void)bag.ReadProperty("NumPoints", int32_t{0});
    props_.AutoRedraw = asBoolean(bag.ReadProperty("AutoRedraw", d.AutoRedraw), d.AutoRedraw);
    props_.Y2Start = asSingle(bag.ReadProperty("Y2Start", d.Y2Start), d.Y2Start);
    props_.Y2End = asSingle(bag.ReadProperty("Y2End", d.Y2End), d.Y2End);
    props_.XLabel = asString(bag.ReadProperty("XLabel", d.XLabel), d.XLabel);
    props_.Y1Label = asString(bag.ReadProperty("Y1Label", d.Y1Label), d.Y1Label);
    props_.Y2Label = asString(bag.ReadProperty("Y2Label", d.Y2Label), d.Y2Label);
    const float rate = asSingle(bag.ReadProperty("SamplingRate", d.SamplingRate), d.SamplingRate);
    props_.XEnd = asSingle(bag.ReadProperty("XEnd", d.XEnd), d.XEnd);
    props_.Y1Start = asSingle(bag.ReadProperty("Y1Start", d.Y1Start), d.Y1Start);
    props_.Y1End = asSingle(bag.ReadProperty("Y1End", d.Y1End), d.Y1End);
    const int32_t type = asLong(bag.ReadProperty("ChartType", static_cast<int32_t>(d.ChartType)), 0);
    props_.ChartType = (type == 0 || type == 1) ? static_cast<ChartTypeEnm>(type) : d.ChartType;
    props_.SamplingRate = isUsableSamplingRate(rate, props_.ChartType) ? rate : d.SamplingRate;
    props_.Y1Color = asColor(bag.ReadProperty("Y1Color", static_cast<int32_t>(d.Y1Color)), d.Y1Color);
    props_.Y2Color = asColor(bag.ReadProperty("Y2Color", static_cast<int32_t>(d.Y2Color)), d.Y2Color);
}

void ChartModel::WriteProperties(PropertyBag& bag) const {
    const ChartProperties d;
    const int32_t n = points_.count();
    bag.WriteProperty("BackColor", static_cast<int32_t>(props_.BackColor), static_cast<int32_t>(d.BackColor));
    bag.WriteProperty("XStart", props_.XStart, d.XStart);
    bag.WriteProperty("NumPoints", n, int32_t{0});
    bag.WriteProperty("GraphTitle", props_.GraphTitle, d.GraphTitle);
    bag.WriteProperty("NumPoints", n, int32_t{0});
    bag.WriteProperty("AutoRedraw", props_.AutoRedraw, d.AutoRedraw);
    bag.WriteProperty("Y2Start", props_.Y2Start, d.Y2Start);
    bag.WriteProperty("Y2End", props_.Y2End, d.Y2End);
    bag.WriteProperty("XLabel", props_.XLabel, d.XLabel);
    bag.WriteProperty("Y1Label", props_.Y1Label, d.Y1Label);
    bag.WriteProperty("Y2Label", props_.Y2Label, d.Y2Label);
    bag.WriteProperty("SamplingRate", props_.SamplingRate, d.SamplingRate);
    bag.WriteProperty("XEnd", props_.XEnd, d.XEnd);
    bag.WriteProperty("Y1Start", props_.Y1Start, d.Y1Start);
    bag.WriteProperty("Y1End", props_.Y1End, d.Y1End);
    bag.WriteProperty("ChartType", static_cast<int32_t>(props_.ChartType), int32_t{0});
    bag.WriteProperty("Y1Color", static_cast<int32_t>(props_.Y1Color), static_cast<int32_t>(d.Y1Color));
    bag.WriteProperty("Y2Color", static_cast<int32_t>(props_.Y2Color), static_cast<int32_t>(d.Y2Color));
}

// --- stores -----------------------------------------------------------------------

int16_t ChartModel::AddPoints(float y1, float y2) {
    const bool keepY2 = props_.ChartType != ChartTypeEnm::LineProfile;
    return static_cast<int16_t>(points_.add([&](PointRec& p) {
        p.Y1 = y1;
        if (keepY2) p.Y2 = y2;
    }));
}

int16_t ChartModel::AddLabel(const std::string& label, int32_t color, int16_t offset, float xPos) {
    return static_cast<int16_t>(labels_.add([&](LabelRec& l) {
        l.Label = label;
        l.Color = color;
        l.Offset = offset;
        l.XPos = xPos;
    }));
}

int16_t ChartModel::AddMethod(const std::string& method, float xPos) {
    return static_cast<int16_t>(methods_.add([&](MethodRec& m) {
        m.Method = method;
        m.XPos = xPos;
    }));
}

void ChartModel::ClearData() {
    lastDrawn_ = 0;
    points_.clear();
    labels_.clear();
    methods_.clear();
    notes_.Notes.clear();
}

std::string ChartModel::GetAllMethods() const {
    std::string all;
    for (int32_t i = 0; i < methods_.count(); ++i) all += methods_.at(i).Method;
    return all;
}

float ChartModel::GetDuration() const noexcept {
    return points_.count() >= 2 ? IndexToTime(points_.count() - 1) : 0.0f;
}

bool ChartModel::LastPointInScale() const noexcept { return GetDuration() <= props_.XEnd; }

float ChartModel::GetValueAtTime(float time) const {
    const int32_t i = TimeToIndex(time);
    if (i < 0 || i >= points_.count()) return 0;
    const float t0 = IndexToTime(i);
    const float t1 = IndexToTime(i + 1);
    return InterpolateY(t0, points_.at(i).Y1, t1, points_.at(i + 1).Y1, time);
}

// --- view and initialisation -------------------------------------------------------

void ChartModel::resetViewToProperties() noexcept {
    view_.XStart = props_.XStart;
    view_.XEnd = props_.XEnd;
    view_.Y1Start = props_.Y1Start;
    view_.Y1End = props_.Y1End;
    view_.Y2Start = props_.Y2Start;
    view_.Y2End = props_.Y2End;
}

void ChartModel::resetZoomRanges() {
    if (props_.ChartType != ChartTypeEnm::Pelomar) {
        resetViewToProperties();
        return;
    }
    setXStart(0);
    const int32_t e = toLong(static_cast<double>(GetDuration()) + 0.5);
    setXEnd(e > 0 ? static_cast<float>(e) : 10.0f);
    setY1Start(-0.2f);
    setY1End(2);
    setY2Start(0);
    setY2End(500);
}

void ChartModel::initScaleFields() {
    resetViewToProperties();
    zoomed_ = false;
    recomputeTimeScale();
    targets_ = BackupLogTargets::generation(controlFolder_, 1, true);
}

void ChartModel::setControlFolder(const std::string& folder) {
    if (!isUsableLogFolder(folder)) throw RuntimeError(err::kInvalidProcedureCall);
    controlFolder_ = folder;
    if (targets_.AtControlFolder) targets_ = BackupLogTargets::generation(controlFolder_, 1, true);
}

}  // namespace pelomar::core
