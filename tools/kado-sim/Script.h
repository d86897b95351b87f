#pragma once

#include <string_view>
#include <variant>
#include <vector>

#include "BlockEncoder.h"
#include "Chromatogram.h"

namespace kado {

// One step of a run script, in stream order.
struct PointsStep { long count; };           // data points, 1/300 minute apart
struct BytesStep { Bytes bytes; };           // blocks (or raw bytes) sent at once
struct SilenceStep { double seconds; };      // the line goes quiet, in real time
struct CutStep {};                           // the next point's UV block is cut short
struct GarbageStep { long count; };          // noise bytes, never the sync byte
struct BaselineStep { double au; };
struct PeakStep { Chromatogram::Peak peak; };
struct GradientStep { double from, to, startMinutes, endMinutes; };
struct LettersStep { char uv; char conductivity; };

using Step = std::variant<PointsStep, BytesStep, SilenceStep, CutStep, GarbageStep, BaselineStep,
                          PeakStep, GradientStep, LettersStep>;
using Script = std::vector<Step>;

// Reads the script text; throws ScriptError naming the first bad line.
Script parseScript(std::string_view text);

}  // namespace kado
