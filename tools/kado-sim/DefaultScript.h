#pragma once

namespace kado {

// The run played when no script is named (default.kado, built in).
extern const char* const kDefaultScript;

}  // namespace kado
