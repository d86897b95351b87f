#pragma once

#include <clocale>
#include <cstdio>
#include <string>

namespace tavrin::test {

// Switches the whole C locale of the process to German for one scope, as a
// Qt program does at start on a German desktop, where the C library writes
// and reads "1,5".
class GermanLocale {
public:
    GermanLocale() {
        const char* old = std::setlocale(LC_ALL, nullptr);
        previous_ = old != nullptr ? old : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) break;
        }
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        active_ = std::string(text) == "1,5";
    }
    ~GermanLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    // False when the machine has no German locale (scripts/setup makes one).
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace tavrin::test
