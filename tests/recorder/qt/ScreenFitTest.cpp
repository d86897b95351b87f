// The main window's first size on screens of every size and display scale.
// The offscreen platform is given one screen for each pair, scaled by name
// the way QT_SCALE_FACTOR scales a single screen; so this program sets up
// its platform itself before the application starts.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;

namespace {

struct ScreenCase {
    const char* name;
    int width, height;  // device pixels
    double scale;
};

// The platform keeps its screens in the order of their names and makes the
// first the primary one: the screen of the window the program opens without
// being told where.
const ScreenCase kScreens[] = {
    {"00 1366x768@2", 1366, 768, 2},      {"01 1366x768@1", 1366, 768, 1},
    {"02 1366x768@1.25", 1366, 768, 1.25}, {"03 1366x768@1.5", 1366, 768, 1.5},
    {"04 1920x1080@1", 1920, 1080, 1},    {"05 1920x1080@1.25", 1920, 1080, 1.25},
    {"06 1920x1080@1.5", 1920, 1080, 1.5}, {"07 1920x1080@2", 1920, 1080, 2},
    {"08 3840x2160@1", 3840, 2160, 1},    {"09 3840x2160@1.25", 3840, 2160, 1.25},
    {"10 3840x2160@1.5", 3840, 2160, 1.5}, {"11 3840x2160@2", 3840, 2160, 2},
    // Below the window's minimum size.
    {"12 1024x600@2", 1024, 600, 2},
};

// The window's design size and its smallest height, in pixels.
constexpr int kDesignHeight = 420;
constexpr int kMinimumHeight = 333;

// Writes the screens side by side into an offscreen configuration and
// names their scales; the folder must outlive the application.
void setUpScreens(const QTemporaryDir& dir) {
    QJsonArray screens;
    QByteArray factors;
    int x = 0;
    for (const ScreenCase& s : kScreens) {
        screens.append(QJsonObject{{"name", s.name}, {"x", x}, {"y", 0}, {"width", s.width}, {"height", s.height},
                                   {"logicalDpi", 96}, {"logicalBaseDpi", 96}, {"dpr", 1}});
        factors += QByteArray(s.name) + '=' + QByteArray::number(s.scale) + ';';
        x += s.width;
    }
    const QString path = dir.filePath(QStringLiteral("screens.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(QJsonDocument(QJsonObject{{"screens", screens}, {"windowFrameMargins", true}}).toJson());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
    factors.chop(1);
    qputenv("QT_SCREEN_SCALE_FACTORS", factors);
    qunsetenv("QT_SCALE_FACTOR");
}

QScreen* screenNamed(const QString& name) {
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == name) return s;
    return nullptr;
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;

private slots:
    void theScreensAreThere() {
        QCOMPARE(QGuiApplication::screens().size(), qsizetype(std::size(kScreens)));
        QScreen* small = QGuiApplication::primaryScreen();
        QCOMPARE(small->name(), QString::fromLatin1(kScreens[0].name));
        QCOMPARE(small->availableGeometry().size(), QSize(683, 384));
    }

    void theFirstWindowFitsItsScreen_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenCase& s : kScreens) QTest::newRow(s.name) << QString::fromLatin1(s.name);
    }

    void theFirstWindowFitsItsScreen() {
        QFETCH(QString, screen);
        QScreen* on = screenNamed(screen);
        QVERIFY(on);
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        keepSystemName();
        if (on != QGuiApplication::primaryScreen()) {
            w.setScreen(on);
            w.move(on->availableGeometry().topLeft());
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        QCOMPARE(w.screen(), on);

        const QRect free = on->availableGeometry();
        const QRect frame = w.frameGeometry();
        const int frameHeight = frame.height() - w.height();
        // The design height where there is room, else the room there is, but
        // never below the smallest height.
        QCOMPARE(w.height(), std::max(kMinimumHeight, std::min(kDesignHeight, free.height() - frameHeight)));
        if (w.height() == kMinimumHeight) return;  // a screen too small for the window
        QVERIFY(free.contains(frame));
        // The axis panel's lower row is on the screen.
        const QRect axis(w.frameScaleAxis->mapToGlobal(QPoint(0, 0)), w.frameScaleAxis->size());
        QVERIFY(free.contains(axis));
        QVERIFY(axis.bottom() <= w.mapToGlobal(QPoint(0, w.height() - 1)).y());
    }
};

int main(int argc, char** argv) {
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    setUpScreens(dir);
    QApplication app(argc, argv);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
