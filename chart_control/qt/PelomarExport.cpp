// The text export: the core builds and writes the file; the widget hands in
// the user's decimal symbol and the caller's variables.
#include <exception>

#include "PelomarFileState.h"
#include "UserDecimalSeparator.h"
#include "common/RuntimeErrors.h"
#include "core/export/TextExport.h"
#include "pelomar/Pelomar.h"

namespace pelomar {

int16_t Pelomar::ExportTextData(const std::string& ExpFileName, bool& ExpUV, bool& ExpCond, bool& ExpEvents,
                                bool ExpNotes, bool ExpMethods, int16_t& MethodPos, float ExpFromTime,
                                float ExpToTime, float ExpSamplingRate, int32_t ExpNumPoints) {
    core::TextExportArgs args;
    args.ExpUV = ExpUV;
    args.ExpCond = ExpCond;
    args.ExpEvents = ExpEvents;
    args.ExpNotes = ExpNotes;
    args.ExpMethods = ExpMethods;
    args.MethodPos = MethodPos;
    args.ExpFromTime = ExpFromTime;
    args.ExpToTime = ExpToTime;
    args.ExpSamplingRate = ExpSamplingRate;
    args.ExpNumPoints = ExpNumPoints;
    int32_t e = core::err::kNone;
    try {
        e = core::ExportTextData(*model_, files().fs, ExpFileName, args, userDecimalSeparator());
    } catch (const std::exception&) {
        e = core::err::kOutOfMemory;
    }
    ExpUV = args.ExpUV;
    ExpCond = args.ExpCond;
    ExpEvents = args.ExpEvents;
    MethodPos = args.MethodPos;
    return static_cast<int16_t>(e);
}

}  // namespace pelomar
