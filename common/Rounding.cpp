#include "common/Rounding.h"

#include <cmath>
#include <limits>

#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

double roundHalfEven(double value) noexcept {
    // nearbyint follows the current rounding mode, which is never changed here.
    return std::nearbyint(value);
}

namespace {
template <typename T>
T checkedRound(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max()))) {
        throw RuntimeError(err::kOverflow);
    }
    return static_cast<T>(r);
}
}  // namespace

int32_t toLong(double value) { return checkedRound<int32_t>(value); }

int16_t toInteger(double value) { return checkedRound<int16_t>(value); }

double intFloor(double value) noexcept { return std::floor(value); }

}  // namespace pelomar::core
