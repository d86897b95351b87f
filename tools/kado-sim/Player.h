#pragma once

#include <vector>

#include "BlockEncoder.h"
#include "Script.h"

namespace kado {

// What goes on the line, in order. A paced chunk waits for the instrument's
// next point time (200 ms at speed 1) before it is sent; the others follow at
// once. A silence keeps the line quiet for real seconds, at any speed.
struct Chunk {
    Bytes bytes;
    bool paced = false;
    double silenceSeconds = 0;
};

// Faults laid over every point of a script; 0 switches one off. Counting
// starts at 1, so "every 10" hits points 10, 20, ...
struct Faults {
    long garbageEvery = 0;   // 8 noise bytes after the point
    long cutEvery = 0;       // the point's UV block loses its last two bytes
    long unknownEvery = 0;   // an 'X' block after the point
    long silenceAtPoint = 0; // the line goes quiet after this point ...
    double silenceSeconds = 0;  // ... for this long
};

inline constexpr int kPointsPerMinute = 300;

// The whole stream of a script. The chromatogram's clock is the number of
// points sent since the start, 1/300 minute each.
std::vector<Chunk> render(const Script& script, const Faults& faults = {});

// A raw byte file, paced like the instrument: 12 bytes (one point) a chunk.
std::vector<Chunk> replay(const Bytes& bytes);

// The bytes of a stream, silences left out (for file output and tests).
Bytes flatten(const std::vector<Chunk>& chunks);

}  // namespace kado
