#pragma once

#include <csignal>
#include <string>

#include "BlockEncoder.h"

namespace kado {

// Where the simulator sends: a new pseudo-terminal's master, or a device or
// file. Every wait gives up as soon as `stop` is set (by a signal handler).
class OutputLine {
public:
    explicit OutputLine(const volatile std::sig_atomic_t& stop) : stop_(stop) {}
    ~OutputLine();
    OutputLine(const OutputLine&) = delete;
    OutputLine& operator=(const OutputLine&) = delete;

    // A raw 9600 8N1 pseudo-terminal; the slave is left to the reader.
    bool openPty(std::string& slavePath);
    // A tty is set raw at 9600 8N1; a regular file is created or truncated.
    bool openPath(const std::string& path);
    bool isRegularFile() const { return regularFile_; }

    // Waits while nobody has the pseudo-terminal open; false when stopped.
    bool waitForReader();
    // Sends all bytes, waiting for the reader if it goes away meanwhile;
    // readerReturned tells that it did (the pace restarts). False when
    // stopped or when the write fails.
    bool send(const Bytes& bytes, bool& readerReturned);

private:
    const volatile std::sig_atomic_t& stop_;
    int fd_ = -1;
    bool pty_ = false;
    bool regularFile_ = false;
};

}  // namespace kado
