#pragma once

namespace tavrin {

// Sets a busy flag for a scope and puts back what it was, so nested users
// (a watchdog trip inside a message box of the decoder) leave it set.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = previous_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace tavrin
