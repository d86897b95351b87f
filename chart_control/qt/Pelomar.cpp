#include "pelomar/Pelomar.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "OleColors.h"
#include "EventGuard.h"
#include "PainterSurface.h"
#include "core/drawing/ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "core/drawing/ChartMouse.h"
#include "core/model/PlotGeometry.h"

namespace pelomar {

namespace {
constexpr int kPictureDotsPerMeter = 3780;  // 96 dpi
}  // namespace

Pelomar::Pelomar(QWidget* parent) : Pelomar(UserMode::RunTime, parent) {}

Pelomar::Pelomar(UserMode mode, QWidget* parent)
    : QWidget(parent), model_(std::make_unique<core::ChartModel>(mode == UserMode::DesignTime)) {
    // The picture covers every pixel it is given; what lies beyond it is
    // filled by the paint itself, so nothing is painted twice.
    setAttribute(Qt::WA_OpaquePaintEvent);
    initDrawing();
    model_->setPropertyChangedHandler(
        [this](const char* name) { emit PropertyChanged(QString::fromLatin1(name)); });
    if (mode == UserMode::DesignTime) {
        InitProperties();
    } else {
        MemoryPropertyBag empty;
        ReadProperties(empty);
    }
}

Pelomar::~Pelomar() = default;

// --- persisted properties -------------------------------------------------------

void Pelomar::InitProperties() {
    model_->initPropertyFields();
    takeControlSize();
    InitScale();
}

void Pelomar::ReadProperties(PropertyBag& bag) {
    model_->readPropertyFields(bag);
    takeControlSize();
    InitScale();
}

void Pelomar::WriteProperties(PropertyBag& bag) const { model_->WriteProperties(bag); }

void Pelomar::InitScale() {
    model_->initScaleFields();
    Clear();
}

void Pelomar::takeControlSize() {
    widthTwips_ = width() * core::kTwipsPerPixel;
    heightTwips_ = height() * core::kTwipsPerPixel;
}

// --- properties ---------------------------------------------------------------------

OleColor Pelomar::BackColor() const { return model_->BackColor(); }
void Pelomar::setBackColor(OleColor color) { model_->setBackColor(color); }
OleColor Pelomar::Y1Color() const { return model_->Y1Color(); }
void Pelomar::setY1Color(OleColor color) { model_->setY1Color(color); }
OleColor Pelomar::Y2Color() const { return model_->Y2Color(); }
void Pelomar::setY2Color(OleColor color) { model_->setY2Color(color); }
ChartTypeEnm Pelomar::ChartType() const { return model_->ChartType(); }
void Pelomar::setChartType(ChartTypeEnm type) {
    model_->setChartType(type);
    fullRedraw();
}
bool Pelomar::AutoRedraw() const { return model_->AutoRedraw(); }
void Pelomar::setAutoRedraw(bool value) { model_->setAutoRedraw(value); }
float Pelomar::XStart() const { return model_->XStart(); }
void Pelomar::setXStart(float value) { model_->setXStart(value); }
float Pelomar::XEnd() const { return model_->XEnd(); }
void Pelomar::setXEnd(float value) { model_->setXEnd(value); }
float Pelomar::Y1Start() const { return model_->Y1Start(); }
void Pelomar::setY1Start(float value) { model_->setY1Start(value); }
float Pelomar::Y1End() const { return model_->Y1End(); }
void Pelomar::setY1End(float value) { model_->setY1End(value); }
float Pelomar::Y2Start() const { return model_->Y2Start(); }
void Pelomar::setY2Start(float value) { model_->setY2Start(value); }
float Pelomar::Y2End() const { return model_->Y2End(); }
void Pelomar::setY2End(float value) { model_->setY2End(value); }
std::string Pelomar::XLabel() const { return model_->XLabel(); }
void Pelomar::setXLabel(const std::string& value) { model_->setXLabel(value); }
std::string Pelomar::Y1Label() const { return model_->Y1Label(); }
void Pelomar::setY1Label(const std::string& value) { model_->setY1Label(value); }
std::string Pelomar::Y2Label() const { return model_->Y2Label(); }
void Pelomar::setY2Label(const std::string& value) { model_->setY2Label(value); }
std::string Pelomar::GraphTitle() const { return model_->GraphTitle(); }
void Pelomar::setGraphTitle(const std::string& value) { model_->setGraphTitle(value); }
float Pelomar::SamplingRate() const { return model_->SamplingRate(); }
void Pelomar::setSamplingRate(float value) { model_->setSamplingRate(value); }
int32_t Pelomar::NumPoints() const { return model_->NumPoints(); }
void Pelomar::setNumPoints(int32_t value) { model_->setNumPoints(value); }

// --- stores ---------------------------------------------------------------------------

int16_t Pelomar::AddPoints(float Y1, float Y2) { return model_->AddPoints(Y1, Y2); }

int16_t Pelomar::AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) {
    const int16_t result = model_->AddLabel(Label, Color, Offset, XPos);
    // The label is kept whatever its drawing does; a failed mark is not an
    // error of the store (the host would stop recording on it).
    guardEvent("AddLabel", [&] { drawEventMark(model_->labels().count() - 1); });
    return result;
}

int16_t Pelomar::AddMethod(const std::string& Method, float XPos) {
    return model_->AddMethod(Method, XPos);
}

void Pelomar::Clear() {
    model_->ClearData();
    Redraw();
}

std::string Pelomar::GetAllMethods() const { return model_->GetAllMethods(); }
float Pelomar::GetDuration() const { return model_->GetDuration(); }
bool Pelomar::LastPointInScale() const { return model_->LastPointInScale(); }
std::string Pelomar::GetNotes() const { return model_->GetNotes(); }
void Pelomar::UpdateNotes(const std::string& Notes) { model_->UpdateNotes(Notes); }

std::string Pelomar::controlFolder() const { return model_->controlFolder(); }
void Pelomar::setControlFolder(const std::string& folder) { model_->setControlFolder(folder); }

// --- drawing ------------------------------------------------------------------------------

void Pelomar::Redraw() { fullRedraw(); }

void Pelomar::Refresh() { update(); }

void Pelomar::DrawNewPoints() {
    if (picMain_.isNull()) return;
    guardEvent("DrawNewPoints", [&] {
        surface_->beginPicture(picMain_, pictureSize_);
        surface_->resetDirty();
        drawing_->DrawNewPoints(*surface_);
    });
    surface_->end();
    // Only the pixels the pass touched go to the screen.
    const QRect changed = surface_->dirty();
    if (!changed.isEmpty()) update(changed);
}

void Pelomar::Unzoom() { ResetZoom(true); }

void Pelomar::ResetZoom(bool raiseEvt) {
    model_->resetZoomRanges();
    fullRedraw();
    model_->setZoomed(false);
    if (raiseEvt) emit UnZoomEnd();
}

void Pelomar::fullRedraw() {
    const bool keep = holdsPicture();
    drawPicture(keep);
    if (!keep) return;
    update();
    overlay_ = overlayRegion();
}

namespace {
// The device pixels of a logical extent: all those it touches, so that the
// picture covers every pixel that the window gives the chart.
int devicePixels(int logical, double ratio) {
    if (ratio == 1) return logical;
    return static_cast<int>(std::ceil(logical * ratio - 1e-6));
}

// Text measures of a picture without the picture: the same resolution.
QImage& metricsDevice() {
    static QImage device = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(kPictureDotsPerMeter);
        i.setDotsPerMeterY(kPictureDotsPerMeter);
        return i;
    }();
    return device;
}
}  // namespace

// The full redraw on the picture; without `keep` it only measures, which
// sets the geometry and the state of the pass as the picture would.
void Pelomar::drawPicture(bool keep) {
    takeControlSize();
    const int w = std::max(1, width());
    const int h = std::max(1, height());
    if (keep) {
        // Drawn at the screen's resolution: the logical layout in device pixels.
        const double ratio = devicePixelRatioF();
        const QSize device(devicePixels(w, ratio), devicePixels(h, ratio));
        if (picMain_.size() != device || picMain_.devicePixelRatio() != ratio) {
            picMain_ = QImage(device, QImage::Format_RGB32);
            picMain_.setDevicePixelRatio(ratio);
        }
        // Fonts are sized in points on the picture as on a 96 dpi screen.
        picMain_.setDotsPerMeterX(kPictureDotsPerMeter);
        picMain_.setDotsPerMeterY(kPictureDotsPerMeter);
        pictureSize_ = QSize(w, h);
    } else {
        picMain_ = QImage();
        pictureSize_ = QSize();
    }
    pictureDropped_ = !keep;
    surface_->setBackground(toQColor(model_->BackColor()));
    guardEvent("Redraw", [&] {
        if (keep)
            surface_->beginPicture(picMain_, pictureSize_);
        else
            surface_->beginMeasuring(&metricsDevice(), w, h);
        drawing_->RedrawChart(*surface_, widthTwips_, heightTwips_);
    });
    surface_->end();
    if (!keep) drawing_->releaseScratch();
}

// A chart that is part of a window keeps its picture only while it shows:
// the tabs hide all charts but one, and each picture is a full frame. The
// vertex scratch of its passes goes with the picture.
bool Pelomar::holdsPicture() const { return isWindow() || isVisible(); }

void Pelomar::dropPicture() {
    picMain_ = QImage();
    pictureSize_ = QSize();
    pictureDropped_ = true;
    drawing_->releaseScratch();
}

void Pelomar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!holdsPicture()) dropPicture();
}

void Pelomar::drawEventMark(int32_t index) {
    if (picMain_.isNull()) return;
    surface_->beginPicture(picMain_, pictureSize_);
    surface_->resetDirty();
    try {
        drawing_->DrawEventMarks(*surface_, index, false);
    } catch (...) {
        surface_->end();
        update(surface_->dirty());
        throw;
    }
    surface_->end();
    const QRect changed = surface_->dirty();
    if (!changed.isEmpty()) update(changed);
}

// A picture drawn for a screen of another scale than the chart's now: the
// window moved to another screen, or its screen changed its scale.
bool Pelomar::pictureOfOtherScale() const {
    return !picMain_.isNull() && picMain_.devicePixelRatio() != devicePixelRatioF();
}

bool Pelomar::event(QEvent* event) {
    // Qt 6.6 tells of a new scale itself; before it the screen change that
    // the window sends to each of its widgets does, and a scale that changes
    // on the same screen is met at the next paint.
    bool newScale = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    newScale = newScale || event->type() == QEvent::DevicePixelRatioChange;
#endif
    if (newScale && pictureOfOtherScale()) guardEvent("ScreenChange", [&] { fullRedraw(); });
    return QWidget::event(event);
}

void Pelomar::paintEvent(QPaintEvent* event) {
    guardEvent("paintEvent", [&] {
        const bool rescaled = pictureOfOtherScale();
        if (pictureDropped_ || rescaled) drawPicture(true);
        // A picture drawn anew shows whole, whatever this paint was for.
        if (rescaled && !event->region().contains(rect())) update();
        QPainter painter(this);
        const QRegion& region = event->region();
        const QRect pictureRect(QPoint(0, 0), pictureSize_);
        const double ratio = picMain_.devicePixelRatio();
        for (const QRect& r : region.intersected(pictureRect)) {
            if (ratio == 1) {
                painter.drawImage(r.topLeft(), picMain_, r);
                continue;
            }
            // The picture's device pixels under the logical rectangle, and
            // the one more column and row that a rounded window edge takes.
            const QRect source = QRect(QPoint(static_cast<int>(std::floor(r.left() * ratio)),
                                              static_cast<int>(std::floor(r.top() * ratio))),
                                       QPoint(static_cast<int>(std::ceil((r.right() + 1) * ratio)),
                                              static_cast<int>(std::ceil((r.bottom() + 1) * ratio))))
                                     .intersected(picMain_.rect());
            painter.drawImage(QRectF(QPointF(source.topLeft()) / ratio, QSizeF(source.size()) / ratio), picMain_,
                              QRectF(source));
        }
        const QRegion beyond = region.subtracted(pictureRect);
        if (!beyond.isEmpty()) {
            const QColor back = toQColor(model_->BackColor());
            for (const QRect& r : beyond) painter.fillRect(r, back);
        }
        paintOverlay(painter);
    });
}

}  // namespace pelomar
