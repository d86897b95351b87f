#include "Script.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "ScriptError.h"

namespace kado {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> words(std::string_view s) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i >= s.size() || s[i] == '#') break;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        out.push_back(s.substr(start, i - start));
    }
    return out;
}

class LineReader {
public:
    LineReader(int line, std::vector<std::string_view> args) : line_(line), args_(std::move(args)) {}

    void expectCount(size_t n) const {
        if (args_.size() != n + 1) {
            fail("'" + std::string(args_[0]) + "' takes " + std::to_string(n) + " argument" +
                 (n == 1 ? "" : "s"));
        }
    }
    double number(size_t i) const {
        const std::string s(args_[i]);
        try {
            size_t used = 0;
            const double v = std::stod(s, &used);
            if (used == s.size() && std::isfinite(v)) return v;
        } catch (const std::exception&) {
        }
        fail("not a number: " + s);
    }
    long whole(size_t i, long lo, long hi) const {
        long v = 0;
        const auto a = args_[i];
        const auto [p, ec] = std::from_chars(a.data(), a.data() + a.size(), v);
        if (ec != std::errc() || p != a.data() + a.size() || v < lo || v > hi) {
            fail("expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                 ": " + std::string(a));
        }
        return v;
    }
    std::string_view word(size_t i) const { return args_[i]; }
    [[noreturn]] void fail(const std::string& what) const { throw ScriptError(line_, what); }

private:
    int line_;
    std::vector<std::string_view> args_;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Method text with \r, \n, \t, \\ and \xHH escapes, so one line can carry the
// instrument's CR LF line breaks.
std::string unescape(std::string_view s, const LineReader& line) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out.push_back(s[i]);
            continue;
        }
        if (++i >= s.size()) line.fail("a lone backslash ends the text");
        switch (s[i]) {
        case 'r': out.push_back('\r'); break;
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        case '\\': out.push_back('\\'); break;
        case 'x': {
            const int hi = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
            const int lo = i + 2 < s.size() ? hexDigit(s[i + 2]) : -1;
            if (hi < 0 || lo < 0) line.fail("\\x needs two hex digits");
            out.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
        }
        default: line.fail(std::string("unknown escape \\") + s[i]);
        }
    }
    return out;
}

uint8_t onOff(const LineReader& r) {
    if (r.word(1) == "on") return 1;
    if (r.word(1) == "off") return 0;
    r.fail("expected on or off");
}

uint8_t runStatus(const LineReader& r) {
    const auto w = r.word(1);
    if (w == "end") return 0;
    if (w == "run") return 1;
    if (w == "pause") return 2;
    if (w == "hold") return 3;
    return static_cast<uint8_t>(r.whole(1, 0, 255));
}

constexpr long kMaxPoints = 300L * 60 * 24 * 7;  // a week of points

}  // namespace

Script parseScript(std::string_view text) {
    Script script;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        const std::string_view raw = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNumber;

        const std::string_view line = trim(raw);
        auto args = words(line);
        if (args.empty()) continue;
        const std::string_view cmd = args[0];
        LineReader r(lineNumber, args);

        if (cmd == "method") {
            // The text is the rest of the line, comments included.
            const std::string_view rest = trim(line.substr(cmd.size()));
            try {
                script.push_back(BytesStep{methodBlock(unescape(rest, r))});
            } catch (const std::invalid_argument& e) {
                r.fail(e.what());
            }
        } else if (cmd == "points") {
            r.expectCount(1);
            script.push_back(PointsStep{r.whole(1, 0, kMaxPoints)});
        } else if (cmd == "minutes") {
            r.expectCount(1);
            const double points = std::round(r.number(1) * 300.0);
            if (points < 0 || points > static_cast<double>(kMaxPoints)) r.fail("minutes out of range");
            script.push_back(PointsStep{static_cast<long>(points)});
        } else if (cmd == "pen") {
            r.expectCount(1);
            script.push_back(BytesStep{byteBlock('P', onOff(r))});
        } else if (cmd == "status") {
            r.expectCount(1);
            script.push_back(BytesStep{byteBlock('R', runStatus(r))});
        } else if (cmd == "hold" || cmd == "continue") {
            r.expectCount(0);
            script.push_back(BytesStep{byteBlock('H', cmd == "hold" ? 1 : 2)});
        } else if (cmd == "event") {
            r.expectCount(1);
            script.push_back(BytesStep{byteBlock('E', static_cast<uint8_t>(r.whole(1, 0, 255)))});
        } else if (cmd == "flow") {
            r.expectCount(1);
            script.push_back(BytesStep{floatBlock('F', static_cast<float>(r.number(1)))});
        } else if (cmd == "silence") {
            r.expectCount(1);
            const double s = r.number(1);
            if (s < 0 || s > 3600) r.fail("silence is 0 to 3600 seconds");
            script.push_back(SilenceStep{s});
        } else if (cmd == "cut") {
            r.expectCount(0);
            script.push_back(CutStep{});
        } else if (cmd == "garbage") {
            r.expectCount(1);
            script.push_back(GarbageStep{r.whole(1, 0, 1'000'000)});
        } else if (cmd == "unknown") {
            r.expectCount(1);
            if (r.word(1).size() != 1) r.fail("unknown takes one type letter");
            script.push_back(BytesStep{Bytes{kSync, static_cast<uint8_t>(r.word(1)[0]), 0, 0, 0, 0}});
        } else if (cmd == "raw") {
            if (args.size() < 2) r.fail("raw takes at least one hex byte");
            Bytes bytes;
            for (size_t i = 1; i < args.size(); ++i) {
                const auto w = args[i];
                const int hi = w.size() == 2 ? hexDigit(w[0]) : -1;
                const int lo = w.size() == 2 ? hexDigit(w[1]) : -1;
                if (hi < 0 || lo < 0) r.fail("not a hex byte: " + std::string(w));
                bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
            }
            script.push_back(BytesStep{std::move(bytes)});
        } else if (cmd == "baseline") {
            r.expectCount(1);
            script.push_back(BaselineStep{r.number(1)});
        } else if (cmd == "peak") {
            r.expectCount(3);
            if (r.number(3) <= 0) r.fail("a peak needs a positive width");
            script.push_back(PeakStep{{r.number(1), r.number(2), r.number(3)}});
        } else if (cmd == "gradient") {
            r.expectCount(4);
            script.push_back(GradientStep{r.number(1), r.number(2), r.number(3), r.number(4)});
        } else if (cmd == "letters") {
            r.expectCount(2);
            const auto uv = r.word(1);
            const auto cond = r.word(2);
            if (uv != "U" && uv != "V") r.fail("the UV letter is U or V");
            if (cond != "C" && cond != "D") r.fail("the conductivity letter is C or D");
            script.push_back(LettersStep{uv[0], cond[0]});
        } else {
            r.fail("unknown command: " + std::string(cmd));
        }
    }
    return script;
}

}  // namespace kado
