#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelomar {

// File names are the file system's bytes (UTF-8 here); texts are code-page
// (windows-1252) bytes. These are the few places where the two meet without
// Qt: a text that becomes a name, and names cut for the screen.

// The Unicode character of a code-page byte; every byte has one.
char16_t codePageToUnicode(unsigned char byte);
// The code-page text as UTF-8.
std::string codePageToUtf8(std::string_view text);
// Bytes of the character that starts at `pos`: a whole UTF-8 sequence, or 1
// for a byte that starts none (a name need not be valid UTF-8).
size_t utf8CharLength(std::string_view text, size_t pos);
// Characters in `text`, counted as utf8CharLength steps.
size_t utf8Length(std::string_view text);
// The first `count` characters of `text`.
std::string utf8Left(std::string_view text, size_t count);

}  // namespace pelomar
