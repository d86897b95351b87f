#include "MethodsNotesPages.h"

#include <cstdint>

#include "core/drawing/DrawingSurface.h"
#include "PrinterScale.h"
#include "core/export/TextLines.h"

namespace pelomar::core {

namespace {
constexpr double kLeftMargin = 700;
constexpr int16_t kTwoColumnWidth = 40;
constexpr int16_t kOneColumnWidth = 80;

bool nextLine(int32_t& pos, const std::string& text, std::string& line) {
    bool more = false;
    GetNextLine(pos, text, line, more);
    return more;
}

bool nextNotesLine(int32_t& pos, const std::string& notes, int16_t width, std::string& line) {
    bool more = false;
    GetNextNotesLine(notes, pos, width, line, more);
    return more;
}

class Pages {
public:
    Pages(DrawingSurface& p, const std::string& methods, const std::string& notes)
        : p_(p), methods_(methods), notes_(notes) {}

    void run(bool chart, bool printMethods, bool printNotes);

private:
    void heading(const char* text, double x, double y);
    void printAt(double x, const std::string& line);
    bool methodsLeft() const { return static_cast<size_t>(methodsPos_) <= methods_.size(); }
    bool notesLeft() const { return static_cast<size_t>(notesPos_) <= notes_.size(); }
    bool full() const { return p_.currentY() + pitch_ > h_; }
    void columnRule(double top) { p_.line(ruleX_, top, ruleX_, h_); }

    DrawingSurface& p_;
    const std::string& methods_;
    const std::string& notes_;
    int32_t methodsPos_ = 1, notesPos_ = 1;
    double h_ = 0, chartBottom_ = 0, notesX_ = 0, ruleX_ = 0, pitch_ = 0, pageTop_ = 0;
    double columnTop_ = 0;
};

void Pages::heading(const char* text, double x, double y) {
    p_.setCurrentX(x);
    p_.setCurrentY(y);
    p_.print(text);
    p_.line(x, y + pitch_, x + p_.textWidth(text), y + pitch_);
}

void Pages::printAt(double x, const std::string& line) {
    p_.setCurrentX(x);
    p_.print(line);
}

void Pages::run(bool chart, bool printMethods, bool printNotes) {
    setScaleModeTwips(p_);
    h_ = p_.scaleHeight();
    const double w = p_.scaleWidth();
    chartBottom_ = h_ / 1.7;
    notesX_ = w / 2 + 100;
    ruleX_ = w / 2 - 50;
    pitch_ = 1.3 * p_.textHeight("W");
    p_.setFontName("Courier New");
    p_.setFontSize(10);
    p_.setFontBold(false);
    p_.setFontItalic(false);
    pageTop_ = h_ / 25;

    if (chart) {
        p_.line(kLeftMargin, chartBottom_, w * 0.93, chartBottom_);
        p_.setCurrentY(chartBottom_ + pitch_);
    } else {
        p_.setCurrentY(h_ / 10);
    }
    p_.setCurrentX(kLeftMargin);
    const double headingY = p_.currentY();
    if (printMethods) {
        heading("Methods:", kLeftMargin, headingY);
        if (printNotes) {
            columnRule(chart ? chartBottom_ : headingY);
            heading("Notes:", notesX_, headingY);
        }
    } else {
        heading("Notes:", kLeftMargin, headingY);
    }
    columnTop_ = p_.currentY() + pitch_;
    p_.setCurrentY(columnTop_);

    // A page is only started for text that is still to come, so the report
    // never ends on an empty page.
    if (!printNotes) notesPos_ = static_cast<int32_t>(notes_.size()) + 1;
    std::string line;
    if (printMethods && !methods_.empty()) {
        while (nextLine(methodsPos_, methods_, line)) {
            printAt(kLeftMargin, line);
            if (!full()) continue;
            if (notesLeft()) {
                p_.setCurrentY(columnTop_);
                do {
                    if (!nextNotesLine(notesPos_, notes_, kTwoColumnWidth, line)) break;
                    printAt(notesX_, line);
                } while (p_.currentY() + pitch_ < h_);
            }
            if (methodsLeft() || notesLeft()) {
                p_.newPage();
                columnTop_ = pageTop_;
                if (notesLeft()) columnRule(pageTop_);
                p_.setCurrentY(columnTop_);
            }
        }
        p_.setCurrentY(columnTop_);
    }

    const int16_t width = printMethods ? kTwoColumnWidth : kOneColumnWidth;
    const double x = printMethods ? notesX_ : kLeftMargin;
    while (nextNotesLine(notesPos_, notes_, width, line)) {
        printAt(x, line);
        if (full() && notesLeft()) {
            p_.newPage();
            if (printMethods) columnRule(pageTop_);
            p_.setCurrentY(pageTop_);
        }
    }
}
}  // namespace

void PrintMethodsAndNotes(DrawingSurface& printer, const std::string& methods,
                          const std::string& notes, bool chart, bool printMethods,
                          bool printNotes) {
    if (!printMethods && !printNotes) return;
    Pages(printer, methods, notes).run(chart, printMethods, printNotes);
}

}  // namespace pelomar::core
