#include "Player.h"

#include <algorithm>

namespace kado {

namespace {

// Deterministic noise, so a faulty stream is the same at every run.
class Noise {
public:
    Bytes next(long count) {
        Bytes out;
        out.reserve(static_cast<size_t>(count));
        while (static_cast<long>(out.size()) < count) {
            state_ = state_ * 1103515245u + 12345u;
            const auto b = static_cast<uint8_t>(state_ >> 16);
            if (b != kSync) out.push_back(b);
        }
        return out;
    }

private:
    uint32_t state_ = 20250101u;
};

bool hits(long every, long n) { return every > 0 && n % every == 0; }

}  // namespace

std::vector<Chunk> render(const Script& script, const Faults& faults) {
    std::vector<Chunk> out;
    Chromatogram model;
    Noise noise;
    char uvLetter = 'U';
    char condLetter = 'C';
    bool cutNext = false;
    long pointNumber = 0;

    auto point = [&] {
        const double minutes = static_cast<double>(pointNumber) / kPointsPerMinute;
        ++pointNumber;
        Chunk c;
        c.paced = true;
        c.bytes = floatBlock(uvLetter, model.uvAt(minutes));
        if (cutNext || hits(faults.cutEvery, pointNumber)) {
            c.bytes.resize(c.bytes.size() - 2);
            cutNext = false;
        }
        const Bytes cond = floatBlock(condLetter, model.conductivityAt(minutes));
        c.bytes.insert(c.bytes.end(), cond.begin(), cond.end());
        out.push_back(std::move(c));
        if (hits(faults.garbageEvery, pointNumber)) out.push_back({noise.next(8)});
        if (hits(faults.unknownEvery, pointNumber)) out.push_back({Bytes{kSync, 'X', 0, 0, 0, 0}});
        if (faults.silenceAtPoint == pointNumber) out.push_back({{}, false, faults.silenceSeconds});
    };

    for (const Step& step : script) {
        std::visit(
            [&](const auto& s) {
                using T = std::decay_t<decltype(s)>;
                if constexpr (std::is_same_v<T, PointsStep>) {
                    for (long i = 0; i < s.count; ++i) point();
                } else if constexpr (std::is_same_v<T, BytesStep>) {
                    out.push_back({s.bytes});
                } else if constexpr (std::is_same_v<T, SilenceStep>) {
                    out.push_back({{}, false, s.seconds});
                } else if constexpr (std::is_same_v<T, CutStep>) {
                    cutNext = true;
                } else if constexpr (std::is_same_v<T, GarbageStep>) {
                    out.push_back({noise.next(s.count)});
                } else if constexpr (std::is_same_v<T, BaselineStep>) {
                    model.setBaseline(s.au);
                } else if constexpr (std::is_same_v<T, PeakStep>) {
                    model.addPeak(s.peak);
                } else if constexpr (std::is_same_v<T, GradientStep>) {
                    model.setGradient(s.from, s.to, s.startMinutes, s.endMinutes);
                } else if constexpr (std::is_same_v<T, LettersStep>) {
                    uvLetter = s.uv;
                    condLetter = s.conductivity;
                }
            },
            step);
    }
    return out;
}

std::vector<Chunk> replay(const Bytes& bytes) {
    constexpr size_t kPointBytes = 12;
    std::vector<Chunk> out;
    for (size_t i = 0; i < bytes.size(); i += kPointBytes) {
        const size_t end = std::min(bytes.size(), i + kPointBytes);
        Chunk c;
        c.paced = true;
        c.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                       bytes.begin() + static_cast<std::ptrdiff_t>(end));
        out.push_back(std::move(c));
    }
    return out;
}

Bytes flatten(const std::vector<Chunk>& chunks) {
    Bytes out;
    for (const Chunk& c : chunks) out.insert(out.end(), c.bytes.begin(), c.bytes.end());
    return out;
}

}  // namespace kado
