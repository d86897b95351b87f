#pragma once

#include <QImage>
#include <QLine>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "pelomar/ChartUiServices.h"
#include "pelomar/ChartContent.h"
#include "pelomar/Enums.h"
#include "pelomar/Export.h"
#include "pelomar/PropertyBag.h"
#include "common/RuntimeError.h"

class QLabel;
class QPainter;
class QPrinter;
class QTimer;

namespace pelomar {

namespace core {
class ChartModel;
}
class PelomarFileState;

// The chart on screen: drawing, mouse, tool tip.
namespace core {
class ChartDrawing;
class ChartMouse;
}  // namespace core
class PainterSurface;

// The chart control: one chromatogram of UV and conductivity points, event
// labels, method texts and notes. Members carry their interface names;
// properties are a getter of the property's name and a setter "set" + name.
// Members that fail on data return the error number (0 = success); the others
// raise RuntimeError.
class PELOMAR_EXPORT Pelomar : public QWidget {
    Q_OBJECT

public:
    enum class UserMode { RunTime, DesignTime };

    // A run-time instance with the default design properties.
    explicit Pelomar(QWidget* parent = nullptr);
    // At design time a new instance runs InitProperties; at run time an
    // instance is loaded with ReadProperties (of an empty bag: the defaults).
    explicit Pelomar(UserMode mode, QWidget* parent = nullptr);
    ~Pelomar() override;

    // --- persisted properties -------------------------------------------------
    void InitProperties();
    void ReadProperties(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // --- properties -------------------------------------------------------------
    OleColor BackColor() const;
    void setBackColor(OleColor color);
    OleColor Y1Color() const;
    void setY1Color(OleColor color);
    OleColor Y2Color() const;
    void setY2Color(OleColor color);
    ChartTypeEnm ChartType() const;
    void setChartType(ChartTypeEnm type);
    bool AutoRedraw() const;
    void setAutoRedraw(bool value);
    float XStart() const;
    void setXStart(float value);
    float XEnd() const;
    void setXEnd(float value);
    float Y1Start() const;
    void setY1Start(float value);
    float Y1End() const;
    void setY1End(float value);
    float Y2Start() const;
    void setY2Start(float value);
    float Y2End() const;
    void setY2End(float value);
    std::string XLabel() const;
    void setXLabel(const std::string& value);
    std::string Y1Label() const;
    void setY1Label(const std::string& value);
    std::string Y2Label() const;
    void setY2Label(const std::string& value);
    // The report's title, in UTF-8 unlike the other texts: it is most often
    // a file's name and is kept in no file.
    std::string GraphTitle() const;
    void setGraphTitle(const std::string& value);
    float SamplingRate() const;
    void setSamplingRate(float value);
    int32_t NumPoints() const;
    void setNumPoints(int32_t value);

    // --- stores -------------------------------------------------------------------
    int16_t AddPoints(float Y1, float Y2);
    int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos);
    int16_t AddMethod(const std::string& Method, float XPos);
    void Clear();
    std::string GetAllMethods() const;
    float GetDuration() const;
    bool LastPointInScale() const;
    std::string GetNotes() const;
    void UpdateNotes(const std::string& Notes);
    // Read back one entry; an index outside 0..count-1 gives an empty entry.
    ChartPoint PointAt(int32_t index) const;
    int32_t LabelCount() const;
    ChartLabel LabelAt(int32_t index) const;
    int32_t MethodCount() const;
    ChartMethod MethodAt(int32_t index) const;

    // --- drawing ------------------------------------------------------------------
    void Redraw();
    void Refresh();
    void DrawNewPoints();

    // --- zoom -------------------------------------------------------------------------
    // Back to the full range, raising UnZoomEnd.
    void Unzoom();

    // The folder where the plain backup-log members work (the control's own
    // folder); by default $XDG_DATA_HOME/tavrin-ms. No folder, or one that
    // resolves to the root, is refused with RuntimeError 5.
    std::string controlFolder() const;
    void setControlFolder(const std::string& folder);

    // The chart's picture as last drawn, in the device pixels of the screen
    // it was drawn for: its devicePixelRatio is that screen's, and it covers
    // every device pixel of the chart. A chart placed in a window holds no
    // picture (a null image) while it is hidden; it is drawn anew when shown,
    // and when it comes to a screen of another scale.
    const QImage& picture() const { return picMain_; }

    // --- data files, backup logs, log rebuild ------------------------------------
    bool SaveToFile(const std::string& FileName);
    bool SaveSelectedToFile(const std::string& FileName);
    bool ReadFromFile(const std::string& FileName);
    int16_t BackUpLog(int32_t BackUpIntervalmSec, double LimitTimeHour);
    void ClearLog();
    bool IsLogFileExist();
    int16_t SaveLog(const std::string& FileName);
    int16_t BackUpLog2(const std::string& LogPath, int16_t InstanceNumber, int32_t BackUpIntervalmSec,
                       double LimitTimeHour);
    void ClearLog2(const std::string& LogPath, int16_t InstanceNumber);
    bool IsLogFileExist2(const std::string& LogPath);
    int16_t SaveLog2(const std::string& LogPath, int16_t InstanceNumber, const std::string& FileName);
    // Message boxes and the busy pointer of the file members; not owned. Null
    // (the default) uses Qt's.
    void setUiServices(ChartUiServices* ui) { ui_ = ui; }

signals:
    void ZoomEnd(float XStart, float XEnd, float Y1Start, float Y1End, float Y2Start, float Y2End);
    void UnZoomEnd();
    void RightMouseUp();
    void TipChange(float x, float Y);
    void MyError(int16_t ErrorNum);
    // The container's notice that a persisted property changed.
    void PropertyChanged(const QString& name);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void InitScale();
    void ResetZoom(bool raiseEvt);
    void takeControlSize();
    void fullRedraw();
    void drawPicture(bool keep);
    bool holdsPicture() const;
    void dropPicture();
    void drawEventMark(int32_t index);
    bool pictureOfOtherScale() const;

    std::unique_ptr<core::ChartModel> model_;
    QImage picMain_;
    // The chart's size in logical pixels when its picture was drawn.
    QSize pictureSize_;
    // The picture was let go while hidden and is owed at the next paint.
    bool pictureDropped_ = false;
    int widthTwips_ = 0;
    int heightTwips_ = 0;

    // files (PelomarFiles.cpp)
    PelomarFileState& files();
    ChartUiServices& ui();
    bool saveChartFile(const std::string& fileName, int64_t pointRecords);
    // shared_ptr for its deleter: the state is a complete type only where it is used.
    std::shared_ptr<PelomarFileState> files_;
    ChartUiServices* ui_ = nullptr;
    // --- the chart on screen ----------------------------------------------------
protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initDrawing();
    void paintOverlay(QPainter& painter) const;
    QRegion overlayRegion() const;
    std::optional<QLine> sliderLine() const;
    std::optional<QRect> bandRect() const;
    void overlayChanged();
    void placeToolTip(const std::string& caption, float x, float y, bool upperHalf);
    QPointF toChart(const QPointF& pixel) const;

    std::unique_ptr<core::ChartDrawing> drawing_;
    std::unique_ptr<core::ChartMouse> mouse_;
    std::unique_ptr<PainterSurface> surface_;
    QLabel* lblToolTip_ = nullptr;
    QTimer* TimerToolTip_ = nullptr;
    // Where the overlays were last painted.
    QRegion overlay_;

    // --- the printed report ---------------------------------------------------
public:
    // One document: title, the chromatogram of the view window with the traces
    // and marks of PrintChromotogramOption, methods and notes. Errors are
    // skipped; the result is always false.
    bool PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes,
                    PrintOptionTypeEnm PrintChromotogramOption = PrintOptionTypeEnm::None);
    // The printer of the next reports; not owned. Null (the default) prints
    // on the system's default printer or, when there is none, to the file
    // "Report.pdf" in the control's folder.
    void setPrinter(QPrinter* printer) { printer_ = printer; }

private:
    QPrinter* printer_ = nullptr;
    // --- text export ------------------------------------------------------------------
public:
    // Writes the tab-separated text file; 0 or the error number. Writes back
    // MethodPos (-1 without a methods text), ExpUV and ExpCond (False without
    // grid rows) and ExpEvents (False when no event lies in the range).
    // Numbers carry the user's decimal symbol.
    int16_t ExportTextData(const std::string& ExpFileName, bool& ExpUV, bool& ExpCond, bool& ExpEvents,
                           bool ExpNotes, bool ExpMethods, int16_t& MethodPos, float ExpFromTime,
                           float ExpToTime, float ExpSamplingRate, int32_t ExpNumPoints);
};

}  // namespace pelomar
