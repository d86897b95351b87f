// The chart tabs' slots and the file commands of the window.
#include "TavrinApplication.h"
#include "frmMain.h"

void TavrinApplication::buildChartSlots() {
    frmMain& w = *window_;
    std::array<tavrin::SlotChart*, 5> charts{};
    std::array<QWidget*, 5> chartWidgets{};
    for (size_t i = 0; i < slotCharts_.size(); ++i) {
        slotCharts_[i] = std::make_unique<tavrin::PelomarSlotChart>(*w.Chart[i]);
        charts[i] = slotCharts_[i].get();
        chartWidgets[i] = w.Chart[i];
    }
    rebuildChart_ = std::make_unique<tavrin::PelomarRebuildChart>(*w.Chart[frmMain::kRebuildChart]);
    chartTabs_ = std::make_unique<tavrin::QtChartTabs>(*w.TabChart, chartWidgets, w.ScrollChart);
    tabCommands_ = std::make_unique<tavrin::QtTabCommandControls>(*w.menuItem(QStringLiteral("mnuClose")),
                                                                  *w.toolButton(QStringLiteral("cmdClear")),
                                                                  *w.toolButton(QStringLiteral("cmdSave")));
    captionMeasure_ = std::make_unique<tavrin::QtCaptionMeasure>(w);
    chartSlots_ = std::make_unique<tavrin::ChartSlots>(tavrin::ChartSlots::Services{
        charts, *logChart_, *rebuildChart_, *chartTabs_, *tabCommands_, *controls_, *axisPanel_, *axisControls_,
        recorder_->axisView, recorder_->globals, *fileDialog_, services_.ui, *cursor_, *captionMeasure_,
        [this] { return recorder_->run.Recording(); }, [this](int16_t n) { recorder_->HandelError(n); }});
    tavrin::ChartSlots& chartSlots = *chartSlots_;
    chartTabs_->bind([&chartSlots] { chartSlots.TabChart_Click(); });
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
