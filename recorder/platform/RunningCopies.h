#pragma once

#include <string>

namespace tavrin {

// Whether another copy of the program was running when this one started.
// Every running copy holds a shared lock on one file; a copy that takes it
// exclusively first was alone. The kernel drops the lock when a copy dies,
// so a crashed copy never counts as running.
class RunningCopies {
public:
    explicit RunningCopies(const std::string& lockPath);
    ~RunningCopies();
    RunningCopies(const RunningCopies&) = delete;
    RunningCopies& operator=(const RunningCopies&) = delete;

    bool otherCopyWasRunning() const { return otherCopyWasRunning_; }

private:
    int fd_ = -1;
    // When it cannot be told, another copy counts as running, so that no
    // copy's logs are wiped on a guess.
    bool otherCopyWasRunning_ = true;
};

}  // namespace tavrin
