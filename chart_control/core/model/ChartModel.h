#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "BackupLogPaths.h"
#include "ChartRecords.h"
#include "GrowableStore.h"
#include "PlotGeometry.h"
#include "TimeScale.h"
#include "pelomar/Enums.h"
#include "pelomar/PropertyBag.h"

namespace pelomar::core {

// The persisted properties of one chart with their defaults.
struct ChartProperties {
    OleColor BackColor = 0x80000005;  // system window colour
    OleColor Y1Color = 0xFF0000;      // blue
    OleColor Y2Color = 0xFF;          // red
    ChartTypeEnm ChartType = ChartTypeEnm::Pelomar;
    bool AutoRedraw = true;
    float Y2Start = 0, Y2End = 500;
    std::string XLabel = "Time [minutes]";
    std::string Y1Label = "A.U.";
    std::string Y2Label = "mS/cm";
    float SamplingRate = 5;
    float XEnd = 10;
    float Y1Start = -0.2f, Y1End = 2;
    std::string GraphTitle = "UnKnown";  // UTF-8
    float XStart = 0;
};

// The state of one chart instance without its widget: properties, view
// window, stores, time scale and geometry. Members keep their interface
// names; those that fail on data return the error number, the others raise
// RuntimeError.
class ChartModel {
public:
    // Points, labels and methods each hold at most `maxStoreElements`; a growth
    // beyond it fails as an allocation would (error 7).
    explicit ChartModel(bool designMode = false,
                        size_t maxStoreElements = std::numeric_limits<int32_t>::max());

    bool designMode() const noexcept { return designMode_; }

    // Called with the property's name after every property Let.
    void setPropertyChangedHandler(std::function<void(const char*)> handler) {
        propertyChanged_ = std::move(handler);
    }

    // --- properties ---------------------------------------------------------
    const ChartProperties& properties() const noexcept { return props_; }
    OleColor BackColor() const noexcept { return props_.BackColor; }
    void setBackColor(OleColor c);
    OleColor Y1Color() const noexcept { return props_.Y1Color; }
    void setY1Color(OleColor c);
    OleColor Y2Color() const noexcept { return props_.Y2Color; }
    void setY2Color(OleColor c);
    ChartTypeEnm ChartType() const;  // 393 at run time
    void setChartType(ChartTypeEnm t);  // 393 at run time
    ChartTypeEnm chartType() const noexcept { return props_.ChartType; }  // unchecked, internal
    bool AutoRedraw() const noexcept { return props_.AutoRedraw; }
    void setAutoRedraw(bool v);
    float XStart() const noexcept { return props_.XStart; }
    void setXStart(float v);
    float XEnd() const noexcept { return props_.XEnd; }
    void setXEnd(float v);
    float Y1Start() const noexcept { return props_.Y1Start; }
    void setY1Start(float v);
    float Y1End() const noexcept { return props_.Y1End; }
    void setY1End(float v);
    float Y2Start() const noexcept { return props_.Y2Start; }
    void setY2Start(float v);
    float Y2End() const noexcept { return props_.Y2End; }
    void setY2End(float v);
    const std::string& XLabel() const noexcept { return props_.XLabel; }
    void setXLabel(const std::string& v);
    const std::string& Y1Label() const noexcept { return props_.Y1Label; }
    void setY1Label(const std::string& v);
    const std::string& Y2Label() const noexcept { return props_.Y2Label; }
    void setY2Label(const std::string& v);
    const std::string& GraphTitle() const noexcept { return props_.GraphTitle; }
    void setGraphTitle(const std::string& v);
    float SamplingRate() const noexcept { return props_.SamplingRate; }
    // Ignores a rate that is not finite and > 0, or whose time scale is not.
    void setSamplingRate(float v);
    int32_t NumPoints() const noexcept { return points_.count(); }
    // 394 at design time; 380 for a negative count; grows the array for a
    // count beyond it (7 when it cannot).
    void setNumPoints(int32_t n);

    // --- persisted properties ----------------------------------------------
    // Fields only; the widget adds its picture size, InitScale and redraw.
    void initPropertyFields();
    void readPropertyFields(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // --- stores ---------------------------------------------------------------
    int16_t AddPoints(float y1, float y2);
    // Stores the label; drawing its mark is the widget's, after this.
    int16_t AddLabel(const std::string& label, int32_t color, int16_t offset, float xPos);
    int16_t AddMethod(const std::string& method, float xPos);
    void ClearData();
    std::string GetAllMethods() const;
    float GetDuration() const noexcept;
    bool LastPointInScale() const noexcept;
    const std::string& GetNotes() const noexcept { return notes_.Notes; }
    void UpdateNotes(const std::string& notes) { notes_.Notes = notes; }

    GrowableStore<PointRec>& points() noexcept { return points_; }
    const GrowableStore<PointRec>& points() const noexcept { return points_; }
    GrowableStore<LabelRec>& labels() noexcept { return labels_; }
    const GrowableStore<LabelRec>& labels() const noexcept { return labels_; }
    GrowableStore<MethodRec>& methods() noexcept { return methods_; }
    const GrowableStore<MethodRec>& methods() const noexcept { return methods_; }
    NotesRec& notes() noexcept { return notes_; }
    int32_t lastDrawn() const noexcept { return lastDrawn_; }
    void setLastDrawn(int32_t i) noexcept { lastDrawn_ = i; }

    // --- time scale and mapping -------------------------------------------------
    const TimeScale& timeScale() const noexcept { return scale_; }
    void UpdatePointsPerUnit() noexcept;
    float IndexToTime(int32_t index) const noexcept { return scale_.IndexToTime(index); }
    int32_t TimeToIndex(float time) const { return scale_.TimeToIndex(time); }
    // Y1 interpolated at `time`; 0 before the first and after the last point.
    float GetValueAtTime(float time) const;

    ViewWindow& view() noexcept { return view_; }
    const ViewWindow& view() const noexcept { return view_; }
    // View window := the full ranges of the properties.
    void resetViewToProperties() noexcept;
    // The ranges an unzoom returns to: for a strip chart the standard ranges
    // through the property Lets (X from 0 to the duration rounded up to a
    // whole minute, ties to even), for other charts the properties' ranges.
    void resetZoomRanges();
    bool zoomed() const noexcept { return zoomed_; }
    void setZoomed(bool z) noexcept { zoomed_ = z; }

    const PlotGeometry& geometry() const noexcept { return geometry_; }
    void setGeometry(const PlotGeometry& g) noexcept { geometry_ = g; }

    // View, time scale and backup targets as at load; the caller then clears
    // and redraws.
    void initScaleFields();

    // --- backup log targets -----------------------------------------------------
    const std::string& controlFolder() const noexcept { return controlFolder_; }
    // Raises 5 for no folder or one that resolves to the root: the plain
    // backup members must never write or delete there.
    void setControlFolder(const std::string& folder);
    BackupLogTargets& backupTargets() noexcept { return targets_; }
    const BackupLogTargets& backupTargets() const noexcept { return targets_; }

    // --- files ------------------------------------------------------------------
    // The property fields themselves, for readers that set them without a
    // property-change notice or a view copy.
    ChartProperties& propertyFields() noexcept { return props_; }

private:
    void changed(const char* name) {
        if (propertyChanged_) propertyChanged_(name);
    }
    void recomputeTimeScale() noexcept;

    bool designMode_;
    ChartProperties props_;
    ViewWindow view_;
    TimeScale scale_;
    PlotGeometry geometry_;
    GrowableStore<PointRec> points_;
    GrowableStore<LabelRec> labels_;
    GrowableStore<MethodRec> methods_;
    NotesRec notes_;
    int32_t lastDrawn_ = 0;
    bool zoomed_ = false;
    std::string controlFolder_;
    BackupLogTargets targets_;
    std::function<void(const char*)> propertyChanged_;
};

}  // namespace pelomar::core
