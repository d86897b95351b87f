#pragma once

namespace pelomar {

// The decimal symbol of the user's locale as one code-page character; "."
// when the locale's symbol has no such character.
char userDecimalSeparator();

}  // namespace pelomar
