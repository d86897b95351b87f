#pragma once

#include <string>

namespace pelomar::core {

class DrawingSurface;

// The methods and notes of the report, in "Courier New" 10 point, below the
// chromatogram's place (chart) or near the top of the first page: one column,
// or methods left and notes right, going on over new pages while text is
// left. Runs in the printer's twips and leaves its scale mode at twips.
void PrintMethodsAndNotes(DrawingSurface& printer, const std::string& methods,
                          const std::string& notes, bool chart, bool printMethods,
                          bool printNotes);

}  // namespace pelomar::core
