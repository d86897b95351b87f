#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelomar::core {

// Where one backup set stands in its generations.
struct RotationState {
    bool SecondGeneration = false;  // appends go to the generation-2 files
    int32_t BackUpCount = 0;        // calls since the current generation began
    double LogTimeOffset = 0;       // minutes at which generation 1 begins
    // Minutes of data in generation 1: what the next rotation adds to the
    // offset when it drops that generation.
    double Generation1Minutes = 0;
};

// The rotation state of the plain backup members (one for the control) and
// of the per-folder members (one per instance number, from 1). The
// per-instance entries come into being on first use and only grow.
class BackupRotation {
public:
    RotationState& controlWide() noexcept { return control_; }

    // Grows the entries to 1..instance, keeping those there are.
    void ensureInstance(int32_t instance);
    // The entry of `instance`, or null when it was never allocated.
    RotationState* instance(int32_t instance) noexcept;
    // 0 while nothing is allocated.
    int32_t upperBound() const noexcept { return static_cast<int32_t>(instances_.size()); }

private:
    RotationState control_;
    std::vector<RotationState> instances_;  // index 0 is instance 1
};

}  // namespace pelomar::core
