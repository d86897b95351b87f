// The chart tabs' slots and the file commands of the window.
#include "TavrinApplication.h"
#include "frmMain.h"

void TavrinApplication::buildChartSlots() {
    frmMain& w = *window_;
    std::array<tavrin::SlotChart*, 5> charts{};
    std::array<QWidget*, 5> chartWidgets{};
    for (size_t i = 0; i < charts.size(); ++i) {
        charts[i] = charts_[i].get();
        chartWidgets[i] = w.Chart[i];
    }
    chartTabs_ = std::make_unique<tavrin::QtChartTabs>(*w.TabChart, chartWidgets, w.ScrollChart);
    tabCommands_ = std::make_unique<tavrin::QtTabCommandControls>(*w.menuItem(QStringLiteral("mnuClose")),
                                                                  *w.toolButton(QStringLiteral("cmdClear")),
                                                                  *w.toolButton(QStringLiteral("cmdSave")));
    captionMeasure_ = std::make_unique<tavrin::QtCaptionMeasure>(w);
    chartSlots_ = std::make_unique<tavrin::ChartSlots>(tavrin::ChartSlots::Services{
        charts, *charts_[frmMain::kLogChart], *charts_[frmMain::kRebuildChart], *chartTabs_, *tabCommands_,
        *controls_, *axisPanel_, *axisControls_, recorder_->axisView, recorder_->globals, services_.fileDialog,
        services_.ui, services_.cursor, *captionMeasure_,
        [this] { return recorder_->run.Recording(); }, [this](int16_t n) { recorder_->HandelError(n); }});
    tavrin::ChartSlots& chartSlots = *chartSlots_;
    tavrin::ErrorReporter& errors = recorder_->errors;
    chartTabs_->bind([&chartSlots, &errors] { errors.guard("TabChart_Click", [&] { chartSlots.TabChart_Click(); }); });
    frmMain::Commands& c = w.commands;
    c.mnuOpenData_Click = [&chartSlots] { chartSlots.mnuOpenData_Click(); };
    c.mnuOpenLog_Click = [&chartSlots] { chartSlots.mnuOpenLog_Click(); };
    c.mnuClose_Click = [&chartSlots] { chartSlots.mnuClose_Click(); };
    c.mnuClear_Click = [&chartSlots] { chartSlots.mnuClear_Click(); };
    c.mnuSaveData_Click = [&chartSlots] { chartSlots.mnuSaveData_Click(); };
    c.mnuSaveDataAs_Click = [&chartSlots] { chartSlots.mnuSaveDataAs_Click(); };
    c.mnuSaveSlectedData_Click = [&chartSlots] { chartSlots.mnuSaveSlectedData_Click(); };
    c.mnuSaveLog_Click = [&chartSlots] { chartSlots.mnuSaveLog_Click(); };
    c.OpenChartFile = [&chartSlots](const std::string& FileName) { chartSlots.OpenChartFile(FileName); };
}
