#pragma once

#include "core/axis/AxisChart.h"
#include "core/run/BackupLogChart.h"
#include "core/dialogs/DialogChart.h"
#include "core/RecorderChart.h"
#include "core/tabs/SlotChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// A chart control as the recorder core calls it: the live and log charts,
// the axis panel, the backup tick, the dialogs, the tab slots and the log
// rebuild each use their own part of it.
class PelomarHost : public RecorderChart,
                    public SlotChart,
                    public BackupLogChart,
                    public DialogChart,
                    public LogRebuildChart {
public:
    explicit PelomarHost(pelomar::Pelomar& chart) : chart_(chart) {}

    int16_t AddPoints(float Y1, float Y2) override { return chart_.AddPoints(Y1, Y2); }
    int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) override {
        return chart_.AddLabel(Label, Color, Offset, XPos);
    }
    int16_t AddMethod(const std::string& Method, float XPos) override { return chart_.AddMethod(Method, XPos); }
    float GetDuration() const override { return chart_.GetDuration(); }
    bool LastPointInScale() const override { return chart_.LastPointInScale(); }
    void DrawNewPoints() override { chart_.DrawNewPoints(); }
    bool IsLogFileExist2(const std::string& LogPath) override { return chart_.IsLogFileExist2(LogPath); }
    void ClearLog2(const std::string& LogPath, int16_t InstanceNumber) override {
        chart_.ClearLog2(LogPath, InstanceNumber);
    }

    float XStart() const override { return chart_.XStart(); }
    void setXStart(float value) override { chart_.setXStart(value); }
    float XEnd() const override { return chart_.XEnd(); }
    void setXEnd(float value) override { chart_.setXEnd(value); }
    float Y1Start() const override { return chart_.Y1Start(); }
    void setY1Start(float value) override { chart_.setY1Start(value); }
    float Y1End() const override { return chart_.Y1End(); }
    void setY1End(float value) override { chart_.setY1End(value); }
    float Y2Start() const override { return chart_.Y2Start(); }
    void setY2Start(float value) override { chart_.setY2Start(value); }
    float Y2End() const override { return chart_.Y2End(); }
    void setY2End(float value) override { chart_.setY2End(value); }
    void Redraw() override { chart_.Redraw(); }

    bool ReadFromFile(const std::string& FileName) override { return chart_.ReadFromFile(FileName); }
    bool SaveToFile(const std::string& FileName) override { return chart_.SaveToFile(FileName); }
    bool SaveSelectedToFile(const std::string& FileName) override { return chart_.SaveSelectedToFile(FileName); }
    std::string GetNotes() const override { return chart_.GetNotes(); }
    void UpdateNotes(const std::string& Notes) override { chart_.UpdateNotes(Notes); }
    std::string GraphTitle() const override { return chart_.GraphTitle(); }
    void setGraphTitle(const std::string& value) override { chart_.setGraphTitle(value); }
    void Clear() override { chart_.Clear(); }
    void Unzoom() override { chart_.Unzoom(); }

    int16_t BackUpLog2(const std::string& LogPath, int16_t InstanceNumber, int32_t BackUpIntervalmSec,
                       double LimitTimeHour) override {
        return chart_.BackUpLog2(LogPath, InstanceNumber, BackUpIntervalmSec, LimitTimeHour);
    }

    std::string GetAllMethods() const override { return chart_.GetAllMethods(); }
    int16_t ExportTextData(const std::string& ExpFileName, bool ExpUV, bool ExpCond, bool ExpEvents, bool ExpNotes,
                           bool ExpMethods, int16_t MethodPos, float ExpFromTime, float ExpToTime,
                           float ExpSamplingRate, int32_t ExpNumPoints) override {
        return chart_.ExportTextData(ExpFileName, ExpUV, ExpCond, ExpEvents, ExpNotes, ExpMethods, MethodPos,
                                     ExpFromTime, ExpToTime, ExpSamplingRate, ExpNumPoints);
    }
    void PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes, int32_t PrintOption) override {
        chart_.PrintGraph(PrintChromotogram, PrintMethods, PrintNotes,
                          static_cast<pelomar::PrintOptionTypeEnm>(PrintOption & 7));
    }

    int16_t SaveLog2(const std::string& LogPath, int16_t InstanceNumber, const std::string& FileName) override {
        return chart_.SaveLog2(LogPath, InstanceNumber, FileName);
    }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
