#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "common/RuntimeErrors.h"

namespace pelomar::core {

// An array with a count and a declared upper bound, grown in steps: when an
// add makes count > upperBound, the bound becomes count + step.
//
// The declared bound is kept apart from the elements really held, since a
// file may declare a bound that its records do not fill; every reader goes
// through at(), which yields an empty element beyond what is held.
template <typename T>
class GrowableStore {
public:
    GrowableStore(int32_t step, size_t maxElements) : step_(step), maxElements_(maxElements) {
        items_.resize(1);
    }

    int32_t count() const noexcept { return count_; }
    int32_t upperBound() const noexcept { return ubound_; }
    size_t held() const noexcept { return items_.size(); }

    const T& at(int32_t i) const noexcept {
        static const T empty{};
        return (i >= 0 && static_cast<size_t>(i) < items_.size()) ? items_[static_cast<size_t>(i)] : empty;
    }
    T* mutableAt(int32_t i) noexcept {
        return (i >= 0 && static_cast<size_t>(i) < items_.size()) ? &items_[static_cast<size_t>(i)] : nullptr;
    }

    // Stores `value` at index count, counts it and grows when needed. Returns
    // 0 or the error number; a growth that fails leaves the entry counted, and
    // the next add tries the growth again before it stores.
    template <typename Assign>
    int32_t add(Assign&& assign) {
        // Within the declared bound the element exists even when a file held
        // fewer than it declared; only a count past the bound needs a growth.
        const int32_t e = count_ <= ubound_ ? hold(count_) : growTo(static_cast<int64_t>(count_) + step_);
        if (e != err::kNone) return e;
        assign(*mutableAt(count_));
        if (count_ == std::numeric_limits<int32_t>::max()) return err::kOverflow;
        ++count_;
        if (count_ > ubound_) return growTo(static_cast<int64_t>(count_) + step_);
        return err::kNone;
    }

    // Sets the count; grows the array when the count goes beyond it.
    int32_t setCount(int32_t n) {
        if (n < 0) return err::kInvalidPropertyValue;
        if (n > ubound_) {
            const int32_t e = growTo(n);
            if (e != err::kNone) return e;
        }
        count_ = n;
        return err::kNone;
    }

    // Replaces the whole store (file reads): `items` holds the elements read,
    // `count` and `upperBound` the declared figures.
    void assign(std::vector<T>&& items, int32_t count, int32_t upperBound) {
        items_ = std::move(items);
        if (items_.empty()) items_.resize(1);
        count_ = count;
        ubound_ = upperBound;
    }

    // Lets go of the held elements past the count that are empty: a file
    // holds its declared room as empty records, up to a growth step of them,
    // and they read the same when not held. Only elements whose bytes are
    // all those of an empty one go, so a negative zero or a NaN stays. What
    // stays is copied once; call it when that room is to be had.
    void releaseEmptyTail() {
        if constexpr (std::is_trivially_copyable_v<T>) {
            static const T empty{};
            const size_t keep = static_cast<size_t>(std::max(count_, 1));
            size_t n = items_.size();
            while (n > keep && std::memcmp(&items_[n - 1], &empty, sizeof(T)) == 0) --n;
            if (n == items_.size()) return;
            items_.resize(n);
            items_.shrink_to_fit();
        }
    }

    void clear() {
        std::vector<T> fresh(1);
        items_.swap(fresh);
        count_ = 0;
        ubound_ = 0;
    }

private:
    // Holds `n` elements; 7 when the memory cannot be had.
    int32_t resizeHeld(uint64_t n) {
        if (n > maxElements_) return err::kOutOfMemory;
        try {
            items_.resize(static_cast<size_t>(n));
        } catch (const std::bad_alloc&) {
            return err::kOutOfMemory;
        } catch (const std::length_error&) {
            return err::kOutOfMemory;
        }
        return err::kNone;
    }

    int32_t hold(int32_t i) {
        if (static_cast<size_t>(i) < items_.size()) return err::kNone;
        return resizeHeld(static_cast<uint64_t>(i) + 1);
    }

    int32_t growTo(int64_t newUBound) {
        if (newUBound > std::numeric_limits<int32_t>::max()) return err::kOverflow;
        const int32_t e = resizeHeld(static_cast<uint64_t>(newUBound) + 1);
        if (e != err::kNone) return e;
        ubound_ = static_cast<int32_t>(newUBound);
        return err::kNone;
    }

    int32_t step_;
    size_t maxElements_;
    std::vector<T> items_;
    int32_t count_ = 0;
    int32_t ubound_ = 0;
};

}  // namespace pelomar::core
