#include "dialogs/frmStartup.h"

#include <QPainter>
#include <QPixmap>
#include <utility>

#include "core/registry/InstanceRegistry.h"

namespace {

QPixmap splashPicture() {
    QPixmap picture(360, 180);
    picture.fill(QColor(0x1f, 0x4e, 0x79));
    QPainter p(&picture);
    p.setPen(Qt::white);
    QFont big = p.font();
    big.setPointSize(22);
    big.setBold(true);
    p.setFont(big);
    p.drawText(picture.rect().adjusted(0, 0, 0, -40), Qt::AlignCenter, QStringLiteral("Tavrin MS"));
    QFont small = p.font();
    small.setPointSize(10);
    small.setBold(false);
    p.setFont(small);
    p.drawText(picture.rect().adjusted(0, 60, 0, 0), Qt::AlignCenter,
               QStringLiteral("Chart recorder for the Kado system"));
    return picture;
}

}  // namespace

frmStartup::frmStartup(const tavrin::SettingsStore& settings, std::function<void()> loadMain,
                       tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), settings_(settings), loadMain_(std::move(loadMain)), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Tavrin MS"));
    picSplash = new QLabel(this);
    picSplash->setPixmap(splashPicture());
    picSplash->adjustSize();
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->adjustSize();
    resize(picSplash->width() + 40, picSplash->height() + 3 * cmdClose->height());
    connect(cmdClose, &QPushButton::clicked, this, &frmStartup::cmdClose_Click);
    TimerLoadMain.setOnTimeout([this]() noexcept {
        tavrin::guardSlot(report_, "frmStartup.TimerLoadMain_Timer", [&] { TimerLoadMain_Timer(); });
    });
    Form_Load();
}

void frmStartup::Form_Load() {
    tavrin::guardSlot(report_, "frmStartup.Form_Load", [&] {
        logInfo_ = tavrin::InstanceRegistry::ReadLogInfo(settings_);
    });
    cmdClose->hide();
    TimerLoadMain.start();
}

void frmStartup::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    picSplash->move((width() - picSplash->width()) / 2, (height() - picSplash->height()) / 2);
    cmdClose->move(width() - cmdClose->width() * 5 / 4, height() - cmdClose->height() * 5 / 4);
    cmdClose->raise();
}

void frmStartup::TimerLoadMain_Timer() {
    TimerLoadMain.stop();
    if (loadMain_) loadMain_();
    hide();
    cmdClose->show();
}
