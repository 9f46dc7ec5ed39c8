// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Why the writer refuses a name for an entry, as data: the reason, the lengths where a length is
// at fault and the other name where one is. The command line words it in English through
// nameRefusalText; the window words it through its own text table.

#include <cstddef>
#include <string>

namespace brasvel {

enum class NameRefusalReason {
    Empty,
    NotWindows1250,      // a character that Windows-1250 cannot write
    HasNul,              // the control byte 0x00
    TooLong,             // the whole name: length and most
    StemTooLong,         // the name before the extension: length and most
    ExtensionTooLong,    // the extension: length and most
    ReadsBackOtherwise,  // the archive's reader would give another name: other
    UnsafeFileName,      // no safe file name on extraction: why, in the file-name rule's words
    Taken,               // another entry bears it in some case: other
};

struct NameRefusal {
    NameRefusalReason reason = NameRefusalReason::Empty;
    std::string name;        // as given (UTF-8)
    std::size_t length = 0;  // in bytes of the archive, for the reasons of length
    std::size_t most = 0;    // the most those reasons allow
    std::string other;       // what it reads back as, or the entry that has it (shown text)
    std::string why;         // UnsafeFileName: why, "A/B.TXT contains '/'"

    static NameRefusal tooLong(NameRefusalReason reason, std::size_t length, std::size_t most) {
        NameRefusal refusal;
        refusal.reason = reason;
        refusal.length = length;
        refusal.most = most;
        return refusal;
    }
};

// The refusal in the words the command line prints: "name too long: 13 bytes, at most 12",
// "\"a.txt\" is taken: an entry is named \"A.TXT\"".
std::string nameRefusalText(const NameRefusal& refusal);

}  // namespace brasvel
