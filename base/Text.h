#pragma once

// Entry names are Windows-1250 bytes. Where a name is shown or used as a file name it ends at its
// first NUL byte and is decoded to UTF-8.

#include <string>
#include <string_view>

namespace brasvel {

// The bytes before the first NUL byte.
std::string_view untilNul(std::string_view bytes);

// Windows-1250 bytes to UTF-8. Bytes that the code page leaves undefined become U+FFFD.
std::string decodeWindows1250(std::string_view bytes);

// `text` with its control bytes (below 0x20, and 0x7F) written as \xNN, so that printing it can
// never move the cursor, colour a terminal, set its title or start a new line.
std::string escapedControls(std::string_view text);

// Both: the text the user sees for entry bytes.
inline std::string shownText(std::string_view bytes) { return decodeWindows1250(untilNul(bytes)); }

}  // namespace brasvel
