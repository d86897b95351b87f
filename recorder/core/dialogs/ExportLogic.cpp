#include "core/dialogs/ExportLogic.h"

#include <charconv>
#include <utility>

#include "core/ErrorCodes.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

namespace tavrin {

namespace {
constexpr const char* kSaveTitle = "Export Data Text File As...";
constexpr const char* kTextFilter = "Text File(*.txt)|*.txt|All Files(*.*)|*.*";
}  // namespace

ExportLogic::ExportLogic(const Services& services, float selectedFrom, float selectedTo, char decimalSeparator)
    : SelectedFrom(selectedFrom), SelectedTo(selectedTo), services_(services),
      decimalSeparator_(decimalSeparator) {}

float ExportLogic::RateValue(const std::string& text, char decimalSeparator) {
    std::string s = text;
    for (char& c : s)
        if (c == decimalSeparator) c = '.';
    float value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return 0;
    return value;
}

void ExportLogic::InitExport() {
    cmbSamlingRateListIndex = kDefaultRate;
    ExpSamplingRate = RateValue(kRates[kDefaultRate], decimalSeparator_);
    Duration = services_.chart.GetDuration();
    ExpFromTime = 0;
    ExpToTime = Duration;
    DataRegion = 1;
    if (SelectedFrom > Duration) SelectedFrom = Duration;
    if (SelectedTo > Duration) SelectedTo = Duration;
    using pelomar::core::formatFixed;
    optDataRegionCaption[0] = "Selected Data     (Time:  " + formatFixed(SelectedFrom, 2, decimalSeparator_) +
                              "  to  " + formatFixed(SelectedTo, 2, decimalSeparator_) + "  minutes) ";
    optDataRegionCaption[1] =
        "All Data               (Time:  0.00  to  " + formatFixed(Duration, 2, decimalSeparator_) + "  minutes) ";
    UpdatePointCount();
}

void ExportLogic::UpdatePointCount() {
    // A range that ends before it starts, or no rate, has no rows: a
    // negative count would reach the export as a row count.
    if (Duration > ExpFromTime && ExpToTime > ExpFromTime && ExpSamplingRate > 0) {
        const double rows = (static_cast<double>(ExpToTime) - static_cast<double>(ExpFromTime)) *
                                static_cast<double>(ExpSamplingRate) * 60.0 +
                            0.5;
        ExpNumPoints = pelomar::core::toLong(rows);
    } else {
        ExpNumPoints = 0;
    }
    lblNumPoints = std::to_string(ExpNumPoints) + "  data points";
    lblTotal = std::to_string(ExpNumPoints) + "  Data Points)";
}

void ExportLogic::UpdateExportButton() {
    cmdExportEnabled = chkUV || chkCond || chkEvents || chkNotes || chkMethod;
    FocusOnCancel = !cmdExportEnabled;
}

int16_t ExportLogic::GetMethodPos() const { return MethodPosOption; }

void ExportLogic::optDataRegion_Click(int16_t Index) {
    DataRegion = Index;
    if (Index == 1) {
        ExpFromTime = 0;
        ExpToTime = Duration;
    } else {
        ExpFromTime = SelectedFrom;
        ExpToTime = SelectedTo;
    }
    UpdatePointCount();
}

void ExportLogic::cmbSamlingRate_Click(int16_t ListIndex) {
    if (ListIndex < 0 || ListIndex >= static_cast<int16_t>(kRates.size())) return;
    cmbSamlingRateListIndex = ListIndex;
    ExpSamplingRate = RateValue(kRates[static_cast<size_t>(ListIndex)], decimalSeparator_);
    UpdatePointCount();
}

void ExportLogic::chkContent_Click() { UpdateExportButton(); }

void ExportLogic::chkMethod_Click() {
    optMethodPosEnabled = chkMethod;
    UpdateExportButton();
}

void ExportLogic::optMethodPos_Click(int16_t Index) {
    if (Index >= 0 && Index <= 2) MethodPosOption = Index;
}

void ExportLogic::cmdExport_Click() {
    FileDialog::Settings settings;
    settings.DialogTitle = kSaveTitle;
    settings.Filter = kTextFilter;
    settings.DefaultExt = "txt";
    settings.Flags = FileDialog::kOverwritePrompt | FileDialog::kHideReadOnly | FileDialog::kPathMustExist;
    const std::string name = services_.fileDialog.ShowSave(settings).FileName;
    if (!name.empty()) {
        int16_t r = 0;
        {
            BusyCursor::Scope busy(services_.cursor);
            try {
                r = services_.chart.ExportTextData(name, chkUV, chkCond, chkEvents, chkNotes, chkMethod,
                                                   GetMethodPos(), ExpFromTime, ExpToTime, ExpSamplingRate,
                                                   ExpNumPoints);
            } catch (...) {
                // Any failure of the export is the user's "Cannot Export."
                r = -1;
            }
        }
        if (r != 0 && services_.HandelError) services_.HandelError(code::kExportFailed);
    }
    close();
}

void ExportLogic::cmdCancel_Click() { close(); }

void ExportLogic::close() {
    Closed = true;
    if (onClose) onClose();
}

}  // namespace tavrin
