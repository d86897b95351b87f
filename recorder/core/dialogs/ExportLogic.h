#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/BusyCursor.h"
#include "core/dialogs/DialogChart.h"
#include "core/FileDialog.h"

namespace tavrin {

// The export dialog's state and handlers: the time range, the sampling rate,
// the row count and the content of the text file handed to the chart's
// ExportTextData. A window shows it; one instance lives while the dialog is
// open.
class ExportLogic {
public:
    static constexpr int kHelpContext = 2;
    static constexpr int16_t kDefaultRate = 10;
    static constexpr std::array<const char*, 15> kRates{"0.01", "0.02", "0.025", "0.0333", "0.05",
                                                        "0.1",  "0.2",  "0.25",  "0.333",  "0.5",
                                                        "1",    "2",    "3",     "4",      "5"};

    struct Services {
        DialogChart& chart;  // Chart(CurrentChart)
        FileDialog& fileDialog;
        BusyCursor& cursor;
        std::function<void(int16_t)> HandelError;
    };

    // selectedFrom, selectedTo: the current slot's visible range (GetZoomedTime).
    ExportLogic(const Services& services, float selectedFrom, float selectedTo, char decimalSeparator);

    void InitExport();
    void UpdatePointCount();
    void UpdateExportButton();
    int16_t GetMethodPos() const;

    // Selects optDataRegion(Index), as a click does.
    void optDataRegion_Click(int16_t Index);
    // Selects rate entry ListIndex, as a click does.
    void cmbSamlingRate_Click(int16_t ListIndex);
    // Any of the five content boxes after its state changed.
    void chkContent_Click();
    void chkMethod_Click();
    void optMethodPos_Click(int16_t Index);
    void cmdExport_Click();
    void cmdCancel_Click();

    // A rate entry as a number; either '.' or the user's symbol is the
    // decimal point. 0 for a text that is no number.
    static float RateValue(const std::string& text, char decimalSeparator);

    float Duration = 0;
    float SelectedFrom = 0;
    float SelectedTo = 0;
    float ExpFromTime = 0;
    float ExpToTime = 0;
    float ExpSamplingRate = 0;
    int32_t ExpNumPoints = 0;

    // Controls.
    std::array<std::string, 2> optDataRegionCaption;
    int16_t DataRegion = 1;
    int16_t cmbSamlingRateListIndex = -1;
    bool chkUV = true;
    bool chkCond = true;
    bool chkEvents = true;
    bool chkNotes = true;
    bool chkMethod = true;
    int16_t MethodPosOption = 0;
    bool optMethodPosEnabled = true;
    bool cmdExportEnabled = true;
    // Export was disabled last: the focus belongs on Cancel.
    bool FocusOnCancel = false;
    std::string lblTotal;
    std::string lblNumPoints;

    // Set by Export and Cancel; the window closes.
    bool Closed = false;
    std::function<void()> onClose;

private:
    void close();

    Services services_;
    char decimalSeparator_;
};

}  // namespace tavrin
