// The main window's controls, layout, menus, toolbar, help, first activation
// and unload.
#include <QActionGroup>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTime>
#include <QTimer>

#include "common/CodePage.h"
#include "core/window/MainLayout.h"
#include "common/Rounding.h"
#include "frmMain.h"

namespace {

constexpr int32_t kWindowWidthTwips = 8650;
constexpr int32_t kWindowHeightTwips = 6300;
constexpr int32_t kAxisFrameWidthTwips = 8400;
constexpr int32_t kAxisFrameHeightTwips = 1575;
constexpr int32_t kLedsFrameWidthTwips = 1800;
constexpr int32_t kLedsFrameHeightTwips = 450;
constexpr int32_t kLedTwips = 150;
constexpr const char* kHelpContext = "HelpContextID";

int px(int32_t twips) {
    return static_cast<int>(pelomar::core::roundHalfEven(static_cast<double>(twips) / tavrin::kTwipsPerPixel));
}
int32_t twips(int pixels) { return pixels * tavrin::kTwipsPerPixel; }

struct MenuEntry {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool disabled;
    int32_t helpContext;
};

// Menu bar, top level by top level; "-" is a separator.
const std::vector<std::pair<MenuEntry, std::vector<MenuEntry>>>& menuTable() {
    static const std::vector<std::pair<MenuEntry, std::vector<MenuEntry>>> table = {
        {{"mnuFile", "&File", {}, false, 0},
         {{"mnuOpenData", "&Open Data...", QKeySequence(Qt::CTRL | Qt::Key_O), false, 10},
          {"mnuSpace0", "-", {}, false, 0},
          {"mnuOpenLog", "Open &Log...", {}, false, 10},
          {"mnuSpace1", "-", {}, false, 0},
          {"mnuClose", "&Close", QKeySequence(Qt::CTRL | Qt::Key_C), true, 0},
          {"mnuSpace2", "-", {}, false, 0},
          {"mnuSaveData", "&Save Data", QKeySequence(Qt::CTRL | Qt::Key_S), false, 8},
          {"mnuSaveDataAs", "Save Data &As...", {}, false, 8},
          {"mnuSaveSlectedData", "Save Selec&ted Data As...", {}, false, 9},
          {"mnuSpace3", "-", {}, false, 0},
          {"mnuSaveLog", "Save Lo&g...", {}, true, 11},
          {"mnuSpace4", "-", {}, false, 0},
          {"mnuExport", "&Export", QKeySequence(Qt::CTRL | Qt::Key_E), false, 2},
          {"mnuSpace5", "-", {}, false, 0},
          {"mnuPrintSetup", "P&rint Setup", {}, false, 0},
          {"mnuPrint", "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P), false, 5},
          {"mnuSpace6", "-", {}, false, 0},
          {"mnuExit", "E&xit", {}, false, 0}}},
        {{"mnuColectData", "Collect &Data", {}, false, 0},
         {{"mnuStart", "&Record", QKeySequence(Qt::CTRL | Qt::Key_R), false, 0},
          {"mnuStop", "&Stop", QKeySequence(Qt::CTRL | Qt::Key_T), false, 0},
          {"mnuSpace7", "-", {}, false, 0},
          {"mnuClear", "&Clear Chart Recorder", {}, false, 0},
          {"mnuSpace8", "-", {}, false, 0},
          {"mnuLogOn", "&Log ON", {}, false, 0},
          {"mnuLogOff", "Log O&FF", {}, false, 0},
          {"mnuSpace9", "-", {}, false, 0},
          {"mnuLogName", "Kado System &Name", {}, false, 0},
          {"mnuComPort", "COM &Port", {}, false, 6}}},
        {{"mnuView", "&View", {}, false, 0},
         {{"mnuMethod", "&Method", QKeySequence(Qt::CTRL | Qt::Key_M), false, 3},
          {"mnuNotes", "&Notes", QKeySequence(Qt::CTRL | Qt::Key_N), false, 4}}},
        {{"mnuHelp", "&Help", {}, false, 0},
         {{"mnuIntro", "Introduction to &Tavrin", {}, false, 0},
          {"mnuIndex", "Help &Index", {}, false, 0},
          {"mnuAbout", "&About", {}, false, 0}}},
    };
    return table;
}

struct ButtonEntry {
    const char* key;
    const char* caption;
    const char* image;
    const char* toolTip;
    QStyle::StandardPixmap icon;
    bool separatorAfter;
};

const ButtonEntry kButtons[] = {
    {"cmdOpen", "Open", "picOpen", "Open data file", QStyle::SP_DialogOpenButton, false},
    {"cmdSave", "Save", "picSave", "Save Chart Recorder", QStyle::SP_DialogSaveButton, false},
    {"cmdPrint", "Print", "picPrint", "Print graph", QStyle::SP_FileDialogDetailedView, false},
    {"cmdClear", "Clear", "picClear", "Clear Chart Recorder  data", QStyle::SP_TrashIcon, true},
    {"cmdRecord", "Record", "picRecord", "Start record form Kado", QStyle::SP_MediaPlay, false},
    {"cmdStop", "Stop", "picStop", "Stop record form Kado", QStyle::SP_MediaStop, true},
    {"cmdMethod", "Methods", "picMethod", "Show Methods", QStyle::SP_FileDialogContentsView, false},
    {"cmdNotes", "Notes", "picNotes", "Show Notes ", QStyle::SP_FileDialogInfoView, true},
    {"cmdLogOn", "Log ON", "picLogOn", "Start log data.", QStyle::SP_DialogYesButton, false},
    {"cmdLogOff", "Log OFF", "picLogOff", "Stop log data.", QStyle::SP_DialogNoButton, false},
};

}  // namespace

void frmMain::buildWindow() {
    setWindowTitle(QStringLiteral("Tavrin MS - Kado System: Default"));
    buildMenus();
    buildToolbar();
    SetHelpContexts();

    QWidget* form = centralWidget();
    TabChart = new QTabBar(form);
    // Tabs as wide as their captions: stretched over the strip, the last one
    // would run under the receive frame.
    TabChart->setExpanding(false);
    TabChart->addTab(QStringLiteral("Chart Recorder"));
    TabChart->setTabData(0, QStringLiteral("tabRecorder"));
    for (int k = 1; k < 5; ++k) TabChart->addTab(QStringLiteral("(empty)"));

    // The axis frame keeps at least its design size, and grows to what its
    // controls need.
    frameScaleAxis->setParent(form);
    frameScaleAxis->resize(
        frameScaleAxis->sizeHint().expandedTo(QSize(px(kAxisFrameWidthTwips), px(kAxisFrameHeightTwips))));

    frameLeds = new QFrame(form);
    frameLeds->resize(px(kLedsFrameWidthTwips), px(kLedsFrameHeightTwips));
    lblRecive = new QLabel(QStringLiteral("Receive:"), frameLeds);
    lblRecive->adjustSize();
    lblRecive->move(4, (frameLeds->height() - lblRecive->height()) / 2);
    ShapeReciveLed->setParent(frameLeds);
    ShapeReciveLed->setFixedSize(px(kLedTwips), px(kLedTwips));
    ShapeReciveLed->move(lblRecive->x() + lblRecive->width() + 6, (frameLeds->height() - ShapeReciveLed->height()) / 2);
    auto* logo = new QLabel(QStringLiteral("Kado"), frameLeds);
    QFont bold = logo->font();
    bold.setBold(true);
    logo->setFont(bold);
    logo->adjustSize();
    logo->move(frameLeds->width() - logo->width() - 4, (frameLeds->height() - logo->height()) / 2);

    Chart[kLiveChart]->setGraphTitle("Chart Recorder");
    resize(px(kWindowWidthTwips), px(kWindowHeightTwips));
}

void frmMain::buildMenus() {
    for (const auto& [top, items] : menuTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(top.caption));
        menu->setObjectName(QString::fromLatin1(top.name));
        menu->installEventFilter(this);
        for (const MenuEntry& e : items) {
            QAction* a = std::string_view(e.caption) == "-" ? menu->addSeparator()
                                                            : menu->addAction(QString::fromLatin1(e.caption));
            a->setObjectName(QString::fromLatin1(e.name));
            if (!e.shortcut.isEmpty()) a->setShortcut(e.shortcut);
            a->setEnabled(!e.disabled);
            menuItems_.push_back(a);
        }
    }
    mnuStart = menuItem(QStringLiteral("mnuStart"));
    mnuStop = menuItem(QStringLiteral("mnuStop"));
    mnuComPort = menuItem(QStringLiteral("mnuComPort"));
    mnuLogOn = menuItem(QStringLiteral("mnuLogOn"));
    mnuLogOff = menuItem(QStringLiteral("mnuLogOff"));
    mnuSaveLog = menuItem(QStringLiteral("mnuSaveLog"));

    const std::pair<const char*, std::function<void()> Commands::*> routed[] = {
        {"mnuOpenData", &Commands::mnuOpenData_Click},
        {"mnuOpenLog", &Commands::mnuOpenLog_Click},
        {"mnuClose", &Commands::mnuClose_Click},
        {"mnuSaveData", &Commands::mnuSaveData_Click},
        {"mnuSaveDataAs", &Commands::mnuSaveDataAs_Click},
        {"mnuSaveSlectedData", &Commands::mnuSaveSlectedData_Click},
        {"mnuSaveLog", &Commands::mnuSaveLog_Click},
        {"mnuExport", &Commands::mnuExport_Click},
        {"mnuPrintSetup", &Commands::mnuPrintSetup_Click},
        {"mnuPrint", &Commands::mnuPrint_Click},
        {"mnuClear", &Commands::mnuClear_Click},
        {"mnuLogName", &Commands::mnuLogName_Click},
        {"mnuAbout", &Commands::mnuAbout_Click},
    };
    for (const auto& [name, member] : routed) {
        connect(menuItem(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, m = member] { runCommand(commands.*m); });
    }
    connect(menuItem(QStringLiteral("mnuExit")), &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(menuItem(QStringLiteral("mnuMethod")), &QAction::triggered, this, &frmMain::mnuMethod_Click);
    connect(menuItem(QStringLiteral("mnuNotes")), &QAction::triggered, this, &frmMain::mnuNotes_Click);
    connect(menuItem(QStringLiteral("mnuIntro")), &QAction::triggered, this, &frmMain::mnuIntro_Click);
    connect(menuItem(QStringLiteral("mnuIndex")), &QAction::triggered, this, &frmMain::mnuIndex_Click);
}

// The style's icon holds its images at every size it has, up to 128 pixels;
// the toolbar draws one size. The icon keeps what that size draws, at the
// screen's pixel ratio, and the other states are made from it as before.
QIcon frmMain::toolbarIcon(QStyle::StandardPixmap which) const {
    const QIcon full = style()->standardIcon(which);
    const QSize size = Toolsbar->iconSize();
    QIcon icon(full.pixmap(size, 1.0));
    if (const qreal ratio = devicePixelRatioF(); ratio != 1.0) icon.addPixmap(full.pixmap(size, ratio));
    return icon;
}

void frmMain::buildToolbar() {
    Toolsbar = new QToolBar(centralWidget());
    Toolsbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolsbar->setMovable(false);
    for (const ButtonEntry& b : kButtons) {
        QAction* a = Toolsbar->addAction(toolbarIcon(b.icon), QString::fromLatin1(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setProperty("ImageKey", QString::fromLatin1(b.image));
        a->setToolTip(QString::fromLatin1(b.toolTip));
        if (b.separatorAfter) Toolsbar->addSeparator();
    }
    cmdRecord = toolButton(QStringLiteral("cmdRecord"));
    cmdStop = toolButton(QStringLiteral("cmdStop"));
    cmdLogOn = toolButton(QStringLiteral("cmdLogOn"));
    cmdLogOff = toolButton(QStringLiteral("cmdLogOff"));
    for (QAction* a : {cmdRecord, cmdStop, cmdLogOn, cmdLogOff, toolButton(QStringLiteral("cmdMethod")),
                       toolButton(QStringLiteral("cmdNotes"))})
        a->setCheckable(true);
    auto* runButtons = new QActionGroup(this);
    runButtons->addAction(cmdRecord);
    runButtons->addAction(cmdStop);
    auto* logButtons = new QActionGroup(this);
    logButtons->addAction(cmdLogOn);
    logButtons->addAction(cmdLogOff);
    cmdStop->setChecked(true);
    cmdLogOn->setChecked(true);
    connect(Toolsbar, &QToolBar::actionTriggered, this, &frmMain::Toolsbar_ButtonClick);
}

void frmMain::SetHelpContexts() {
    for (const auto& [top, items] : menuTable()) {
        for (const MenuEntry& e : items) {
            if (e.helpContext != 0) menuItem(QString::fromLatin1(e.name))->setProperty(kHelpContext, e.helpContext);
        }
    }
    HelpContextID = 1;
}

QAction* frmMain::menuItem(const QString& name) const {
    for (QAction* a : menuItems_) {
        if (a->objectName() == name) return a;
    }
    return nullptr;
}

QAction* frmMain::toolButton(const QString& key) const {
    if (Toolsbar == nullptr) return nullptr;
    for (QAction* a : Toolsbar->actions()) {
        if (a->objectName() == key) return a;
    }
    return nullptr;
}

void frmMain::runCommand(const std::function<void()>& command) {
    guard("command", [&] {
        if (command) command();
    });
}

bool frmMain::Form_Load() {
    setWindowTitle(QStringLiteral("Tavrin MS - Kado System: Default"));
    LoadSettings();
    recorder().globals.CurrentChart = 0;
    resize(fittedToScreen(QSize(px(kWindowWidthTwips), px(kWindowHeightTwips))));
    recorder().globals.Saved[0] = true;
    ScrollChart[0]->raise();
    Chart[kLiveChart]->raise();
    if (!ChooseComPort(app_.otherCopyWasRunning())) return false;
    app_.port().setInBufferSize(32000);
    recorder().decoder.DisableDataCollection();
    Chart[kLiveChart]->setGraphTitle("Chart Recorder");
    mnuLogOn->setEnabled(!recorder().globals.LogOn);
    mnuLogOff->setEnabled(recorder().globals.LogOn);
    OpenComPort();
    return true;
}

tavrin::StartupSequence::Hooks frmMain::startupHooks() {
    tavrin::StartupSequence::Hooks h;
    h.showDataRecovery = [this](const std::vector<std::string>& lines) {
        if (commands.showDataRecovery) commands.showDataRecovery(lines);
    };
    h.mnuLogName_Click = [this] { runCommand(commands.mnuLogName_Click); };
    h.OpenChartFile = [this](const std::string& name) {
        if (commands.OpenChartFile) commands.OpenChartFile(name);
    };
    h.mnuSaveLog_Click = [this] { runCommand(commands.mnuSaveLog_Click); };
    h.saveLogEnabled = [this] { return mnuSaveLog->isEnabled(); };
    h.SaveSettings = [this] { SaveSettings(); };
    h.setCaption = [this](const std::string& caption) { setWindowTitle(pelomar::fromCodePage(caption)); };
    h.dateText = [] { return pelomar::toCodePage(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)); };
    h.timeText = [] { return pelomar::toCodePage(QLocale().toString(QTime::currentTime(), QLocale::LongFormat)); };
    return h;
}

void frmMain::Form_Activate() {
    guard("Form_Activate", [&] { app_.startup().Form_Activate(); });
}

QSize frmMain::fittedToScreen(QSize size) const {
    const QScreen* on = screen();
    if (on == nullptr) return size;
    const QSize frame = frameGeometry().size() - geometry().size();
    return size.boundedTo(on->availableGeometry().size() - frame);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window has its screen and, where the platform tells it, its frame
    // only now; a small or highly scaled screen must not lose the bottom
    // of the window. The layout's snap still keeps the minimum size.
    if (!shownBefore_) {
        shownBefore_ = true;
        const QSize fitted = fittedToScreen(size());
        if (fitted != size()) resize(fitted);
    }
    // The first activation runs once the window is on screen, after the
    // show that started it has returned.
    if (!app_.startup().activated()) QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    // A failed unload does not keep the window open.
    bool cancel = false;
    guard("Form_Unload", [&] { cancel = app_.startup().Form_Unload(app_.chartSlots().NumCharts); });
    if (cancel) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    TimerProcess.stop();
    TimerSaveLog.stop();
    TimerStopWaitForMethod.stop();
    event->accept();
    runCommand(commands.endProgram);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ArrangeControls();
}

void frmMain::ArrangeControls() {
    if (Toolsbar == nullptr || isMinimized()) return;
    QWidget* form = centralWidget();
    Toolsbar->setGeometry(0, 0, form->width(), Toolsbar->sizeHint().height());
    // The frame's controls are measured again once the window is on screen:
    // the display's fonts may need more room than was known at creation.
    frameScaleAxis->resize(
        frameScaleAxis->minimumSizeHint().expandedTo(frameScaleAxis->sizeHint()).expandedTo(
            QSize(px(kAxisFrameWidthTwips), px(kAxisFrameHeightTwips))));
    tavrin::MainLayoutInput in;
    in.width = twips(width());
    in.height = twips(height());
    in.scaleWidth = twips(form->width());
    in.scaleHeight = twips(form->height());
    in.toolbarHeight = twips(Toolsbar->height());
    in.axisFrameWidth = twips(frameScaleAxis->width());
    in.axisFrameHeight = twips(frameScaleAxis->height());
    in.ledsFrameWidth = twips(frameLeds->width());
    in.tabLeft = 0;
    in.tabClientTopInset = twips(TabChart->sizeHint().height());
    in.scrollHeight = twips(ScrollChart[0]->sizeHint().height());
    const tavrin::MainLayout l = tavrin::ArrangeControls(in);

    if (l.newWidth || l.newHeight) {
        resize(l.newWidth ? px(*l.newWidth) : width(), l.newHeight ? px(*l.newHeight) : height());
        // A window system may apply the snap later: arrange once more on the
        // size it really gives (only once, in case it refuses the snap).
        if (!snapFollowUp_) {
            QTimer::singleShot(0, this, [this] {
                snapFollowUp_ = true;
                ArrangeControls();
                snapFollowUp_ = false;
            });
        }
    }
    // By edges, so that neighbours that touch in twips touch in pixels.
    const auto rect = [](const tavrin::TwipRect& r) {
        return QRect(QPoint(px(r.left), px(r.top)), QPoint(px(r.left + r.width) - 1, px(r.top + r.height) - 1));
    };
    frameScaleAxis->move(px(l.axisFrame.left), px(l.axisFrame.top));
    tabRect_ = rect(l.tab);
    if (l.tab.width > 0) TabChart->setGeometry(px(l.tab.left), px(l.tab.top), px(l.tab.width), TabChart->sizeHint().height());
    if (l.chart.width > 0 && l.chart.height > 0) {
        for (size_t i = 0; i < ScrollChart.size(); ++i) {
            Chart[i]->setGeometry(rect(l.chart));
            ScrollChart[i]->setGeometry(rect(l.scroll));
        }
    }
    const auto current = static_cast<size_t>(recorder().globals.CurrentChart);
    if (current < ScrollChart.size()) {
        guard("Form_Resize", [&] { Chart[current]->Redraw(); });
    }
    frameLeds->move(px(l.ledsFrame.left), px(l.ledsFrame.top));
}

void frmMain::Toolsbar_ButtonClick(QAction* Button) {
    if (Button == nullptr) return;
    const QString key = Button->objectName();
    guard("Toolsbar_ButtonClick", [&] {
        if (key == QLatin1String("cmdMethod")) {
            if (Button->isChecked()) {
                Button->setToolTip(QStringLiteral("Hide method form"));
                runCommand(commands.showMethodWindow);
            } else {
                Button->setToolTip(QStringLiteral("Show method form"));
                runCommand(commands.unloadMethodWindow);
            }
        } else if (key == QLatin1String("cmdNotes")) {
            if (Button->isChecked()) {
                Button->setToolTip(QStringLiteral("Hide notes form"));
                runCommand(commands.showNotesWindow);
            } else {
                Button->setToolTip(QStringLiteral("Show notes form"));
                runCommand(commands.unloadNotesWindow);
            }
        } else if (key == QLatin1String("cmdRecord")) {
            mnuStart_Click();
        } else if (key == QLatin1String("cmdStop")) {
            mnuStop_Click();
        } else if (key == QLatin1String("cmdPrint")) {
            runCommand(commands.mnuPrint_Click);
        } else if (key == QLatin1String("cmdClear")) {
            runCommand(recorder().globals.CurrentChart != 0 ? commands.mnuClose_Click : commands.mnuClear_Click);
        } else if (key == QLatin1String("cmdSave")) {
            runCommand(commands.mnuSaveData_Click);
        } else if (key == QLatin1String("cmdOpen")) {
            runCommand(commands.mnuOpenData_Click);
        } else if (key == QLatin1String("cmdLogOn")) {
            mnuLogOn_Click();
        } else if (key == QLatin1String("cmdLogOff")) {
            mnuLogOff_Click();
        }
    });
}

void frmMain::mnuMethod_Click() {
    QAction* button = toolButton(QStringLiteral("cmdMethod"));
    button->setChecked(true);
    Toolsbar_ButtonClick(button);
}

void frmMain::mnuNotes_Click() {
    QAction* button = toolButton(QStringLiteral("cmdNotes"));
    button->setChecked(true);
    Toolsbar_ButtonClick(button);
}

void frmMain::showHelpFor(int32_t context) {
    guard("ShowHelp", [&] { app_.help().ShowHelp(context); });
}

void frmMain::mnuIntro_Click() { showHelpFor(HelpContextID); }

void frmMain::mnuIndex_Click() {
    HelpContextID = 0;
    showHelpFor(HelpContextID);
    HelpContextID = 1;
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showHelpFor(HelpContextID);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
