#pragma once

#include <string>

namespace pelomar::core {

// The per-user folders: the variable when it holds an absolute path (a
// relative one is ignored, as the convention asks), else the default under
// $HOME. Nothing is created.
std::string configHome();  // $XDG_CONFIG_HOME, else ~/.config
std::string dataHome();    // $XDG_DATA_HOME, else ~/.local/share

// The program's own folder in each: settings in the first, the error log,
// the chart's backup logs and the copies' log folders in the second.
std::string programConfigFolder();
std::string programDataFolder();

}  // namespace pelomar::core
