#pragma once

#include <cstdint>

namespace tavrin {

// The main window's menu items, toolbar buttons, receive LED and live scroll
// bar as the run control and the decoder set them.
class MainWindowControls {
public:
    enum class Item {
        mnuStart,
        mnuStop,
        mnuComPort,
        mnuSaveData,
        mnuSaveSlectedData,
        mnuSaveDataAs,
        mnuClear,
        mnuPrint,
        mnuPrintSetup,
        mnuExport,
        mnuLogOn,
        mnuLogOff,
        cmdRecord,
        cmdStop,
        cmdPrint,
        cmdSave,
        cmdClear,
        cmdLogOn,
        cmdLogOff,
        // Backup and logging.
        mnuSaveLog,
    };

    virtual ~MainWindowControls() = default;
    virtual void setEnabled(Item item, bool enabled) = 0;
    // Shows a toolbar button pressed; the other button of its pair pops up.
    virtual void showPressed(Item button) = 0;
    // Colour of ShapeReciveLed, 0x00BBGGRR.
    virtual void setReceiveLedColor(int32_t color) = 0;
    // The live chart's scroll bar, ScrollChart(0).
    virtual void setLiveScrollMax(int16_t max) = 0;
    virtual void setLiveScrollValue(int16_t value) = 0;
    virtual void setLiveScrollVisible(bool visible) = 0;
    // Keyboard focus to a chart slot; a failure is ignored.
    virtual void focusChart(int16_t slot) = 0;
};

}  // namespace tavrin
