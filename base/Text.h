// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Entry names are Windows-1250 bytes. Where a name is shown or used as a file name it ends at its
// first NUL byte and is decoded to UTF-8.

#include <optional>
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

// UTF-8 to Windows-1250 bytes; nullopt when the text is not valid UTF-8 or holds a character the
// code page cannot write.
std::optional<std::string> encodeWindows1250(std::string_view utf8);

// A Windows-1250 byte with its letter, where it has one, in lower case: A-Z and the accented
// letters of the code page. Names are compared through it, case-insensitively, as the game's file
// system compares them.
char foldCase1250(char byte);
// `bytes` with every letter folded to lower case (foldCase1250): equal for names equal in any case.
std::string foldedText(std::string_view bytes);

// -1, 0 or 1 as `a` sorts before, with or after `b`, byte by byte through foldCase1250.
int compareIgnoringCase(std::string_view a, std::string_view b);
inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return compareIgnoringCase(a, b) == 0;
}

// Whether entry bytes (Windows-1250, up to their first NUL) hold the user's UTF-8 `text`, every
// letter of the code page in any case (foldCase1250): "łw" is found in "ŻÓŁW.TXT". Text the code
// page cannot write is looked for in the bytes as shown, with ASCII letters in any case.
bool holdsIgnoringCase(std::string_view bytes, std::string_view text);

// ASCII letters only, whatever the locale: for kinds' names, extensions and the user's UTF-8 text,
// whose other bytes stay as they are.
char asciiLower(char c);
char asciiUpper(char c);
std::string asciiLowerText(std::string_view text);
std::string asciiUpperText(std::string_view text);
// -1, 0 or 1 as `a` sorts before, with or after `b`, byte by byte with ASCII letters in one case.
int compareIgnoringAsciiCase(std::string_view a, std::string_view b);
inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return compareIgnoringAsciiCase(a, b) == 0;
}

// Both: the text the user sees for entry bytes.
inline std::string shownText(std::string_view bytes) { return decodeWindows1250(untilNul(bytes)); }

}  // namespace brasvel
