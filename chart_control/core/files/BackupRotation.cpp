#include "BackupRotation.h"

namespace pelomar::core {

void BackupRotation::ensureInstance(int32_t instance) {
    if (instance > upperBound()) instances_.resize(static_cast<size_t>(instance));
}

RotationState* BackupRotation::instance(int32_t instance) noexcept {
    if (instance < 1 || instance > upperBound()) return nullptr;
    return &instances_[static_cast<size_t>(instance) - 1];
}

}  // namespace pelomar::core
