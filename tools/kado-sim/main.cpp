// kado-sim: streams the instrument's serial block protocol into a new
// pseudo-terminal (whose slave path it prints) or into a given device or file.

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>

#include "DefaultScript.h"
#include "OutputLine.h"
#include "Player.h"
#include "Script.h"
#include "ScriptError.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

const char* const kUsage = R"(usage: kado-sim [options] [SCRIPT]
Streams the instrument's block protocol. Without SCRIPT it plays the built-in
run (see --print-script). Without --output it opens a pseudo-terminal, prints
its slave path on the first line and sends only while a reader has it open.

  --replay FILE      send the bytes of FILE, 12 bytes per point time
  -o, --output PATH  write to this device or file (a file gets no pacing)
  --speed F          F times the instrument's pace of 5 points a second
  --fast             no pacing: as fast as the reader takes it
  --loop             play the script again and again
  --exit-at-end      with a pseudo-terminal: exit at the end of the script
                     instead of keeping the line open until SIGINT/SIGTERM
  --garbage-every N  8 noise bytes after every Nth point
  --cut-every N      every Nth point's UV block loses its last two bytes
  --unknown-every N  an unknown 'X' block after every Nth point
  --silence P:S      silence of S seconds after point P
  --print-script     print the built-in script and exit
  --check            read the script, print its size and exit
)";

struct Options {
    std::string scriptPath;
    std::string replayPath;
    std::string outputPath;
    double speed = 1.0;
    bool fast = false;
    bool loop = false;
    bool exitAtEnd = false;
    bool printScript = false;
    bool check = false;
    kado::Faults faults;
};

[[noreturn]] void usageError(const std::string& what) {
    std::cerr << "kado-sim: " << what << "\n" << kUsage;
    std::exit(2);
}

long wholeArg(const std::string& s, const std::string& option) {
    try {
        size_t used = 0;
        const long v = std::stol(s, &used);
        if (used == s.size() && v >= 0) return v;
    } catch (const std::exception&) {
    }
    usageError(option + " takes a whole number");
}

Options parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usageError(a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--replay") {
            o.replayPath = value();
        } else if (a == "-o" || a == "--output") {
            o.outputPath = value();
        } else if (a == "--speed") {
            const std::string v = value();
            try {
                o.speed = std::stod(v);
            } catch (const std::exception&) {
                o.speed = 0;
            }
            if (!(o.speed > 0 && o.speed <= 1e6)) usageError("--speed takes a positive factor");
        } else if (a == "--fast") {
            o.fast = true;
        } else if (a == "--loop") {
            o.loop = true;
        } else if (a == "--exit-at-end") {
            o.exitAtEnd = true;
        } else if (a == "--garbage-every") {
            o.faults.garbageEvery = wholeArg(value(), a);
        } else if (a == "--cut-every") {
            o.faults.cutEvery = wholeArg(value(), a);
        } else if (a == "--unknown-every") {
            o.faults.unknownEvery = wholeArg(value(), a);
        } else if (a == "--silence") {
            const std::string v = value();
            const auto colon = v.find(':');
            if (colon == std::string::npos) usageError("--silence takes POINT:SECONDS");
            o.faults.silenceAtPoint = wholeArg(v.substr(0, colon), a);
            o.faults.silenceSeconds = static_cast<double>(wholeArg(v.substr(colon + 1), a));
        } else if (a == "--print-script") {
            o.printScript = true;
        } else if (a == "--check") {
            o.check = true;
        } else if (!a.empty() && a[0] == '-') {
            usageError("unknown option " + a);
        } else if (o.scriptPath.empty()) {
            o.scriptPath = a;
        } else {
            usageError("one script at most");
        }
    }
    if (!o.scriptPath.empty() && !o.replayPath.empty()) usageError("a script or --replay, not both");
    return o;
}

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool play(kado::OutputLine& line, const std::vector<kado::Chunk>& chunks, const Options& o) {
    using Clock = std::chrono::steady_clock;
    const bool paced = !o.fast && !line.isRegularFile();
    const auto interval = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(0.2 / o.speed));
    auto next = Clock::now();
    for (const kado::Chunk& c : chunks) {
        if (stopRequested) return false;
        if (c.silenceSeconds > 0) {
            if (line.isRegularFile()) continue;
            const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                  std::chrono::duration<double>(c.silenceSeconds));
            while (!stopRequested && Clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            next = Clock::now();
            continue;
        }
        if (c.paced && paced) {
            next += interval;
            // Short naps, so a signal is noticed at once.
            while (!stopRequested && Clock::now() < next) {
                std::this_thread::sleep_until(std::min(next, Clock::now() + std::chrono::milliseconds(50)));
            }
        }
        bool readerReturned = false;
        if (!line.send(c.bytes, readerReturned)) return false;
        if (readerReturned || Clock::now() - next > std::chrono::seconds(1)) next = Clock::now();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseArgs(argc, argv);
    if (o.printScript) {
        std::cout << kado::kDefaultScript;
        return 0;
    }

    std::vector<kado::Chunk> chunks;
    if (!o.replayPath.empty()) {
        std::string bytes;
        if (!readFile(o.replayPath, bytes)) {
            std::cerr << "kado-sim: cannot read " << o.replayPath << "\n";
            return 1;
        }
        chunks = kado::replay(kado::Bytes(bytes.begin(), bytes.end()));
    } else {
        std::string text = kado::kDefaultScript;
        if (!o.scriptPath.empty() && !readFile(o.scriptPath, text)) {
            std::cerr << "kado-sim: cannot read " << o.scriptPath << "\n";
            return 1;
        }
        try {
            chunks = kado::render(kado::parseScript(text), o.faults);
        } catch (const kado::ScriptError& e) {
            std::cerr << "kado-sim: " << (o.scriptPath.empty() ? "built-in script" : o.scriptPath)
                      << ": " << e.what() << "\n";
            return 1;
        }
    }
    if (o.check) {
        long points = 0;
        for (const auto& c : chunks) points += c.paced ? 1 : 0;
        std::cout << points << " points, " << kado::flatten(chunks).size() << " bytes\n";
        return 0;
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    kado::OutputLine line(stopRequested);
    bool pty = false;
    if (o.outputPath.empty()) {
        std::string slave;
        if (!line.openPty(slave)) {
            std::perror("kado-sim: openpty");
            return 1;
        }
        std::cout << slave << std::endl;
        pty = true;
    } else if (!line.openPath(o.outputPath)) {
        std::cerr << "kado-sim: cannot open " << o.outputPath << ": " << std::strerror(errno) << "\n";
        return 1;
    }

    if (!line.waitForReader()) return 0;
    do {
        if (!play(line, chunks, o)) return 0;
    } while (o.loop);

    if (pty && !o.exitAtEnd) {
        while (!stopRequested) ::pause();
    } else if (pty) {
        // Let the reader drain what is still queued before the line hangs up.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return 0;
}
