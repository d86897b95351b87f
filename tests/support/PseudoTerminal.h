#pragma once

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

// A pseudo-terminal pair for serial tests: the test writes the instrument's
// bytes into the master, the code under test opens the slave path.
class PseudoTerminal {
public:
    PseudoTerminal() {
        termios raw{};
        cfmakeraw(&raw);
        char name[128] = {};
        if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) path_ = name;
    }
    ~PseudoTerminal() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& slavePath() const { return path_; }
    int slaveFd() const { return slave_; }

    bool write(const std::vector<uint8_t>& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    // Hangs the line up, as an unplugged adapter does.
    void closeMaster() {
        ::close(master_);
        master_ = -1;
    }
    // Lets the reader be the only holder of the slave, so a hang-up reaches it.
    void closeSlave() {
        ::close(slave_);
        slave_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};
