#pragma once

#include <string>
#include <vector>

#include "core/FileDialog.h"

namespace tavrin::test {

// Answers every dialog with `answer` (empty: cancelled) and keeps the settings.
class FakeFileDialog : public FileDialog {
public:
    Result ShowOpen(const Settings& settings) override { return show(settings); }
    Result ShowSave(const Settings& settings) override { return show(settings); }

    std::string answer;
    std::vector<Settings> shown;

private:
    Result show(const Settings& settings) {
        shown.push_back(settings);
        const size_t slash = answer.find_last_of('/');
        return {answer, slash == std::string::npos ? answer : answer.substr(slash + 1)};
    }
};

}  // namespace tavrin::test
