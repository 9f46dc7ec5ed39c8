// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Searching many archives at once: the archives that paths give (an archive itself, or every
// archive directly inside a folder), their entries by file name, and their entries by content.
// A search goes on past an archive or entry that cannot be read, and reports it.
//
// Names and texts are compared with their letters folded to lower case by foldCase1250 (ASCII and
// the code page's accented letters), as the game's file system compares names. An entry is read
// as a text when its extension is TXT, in any case: its content is Windows-1250, matched line by
// line. Every other entry is matched as bytes, against the searched text's Windows-1250 bytes
// exactly. One entry is inflated at a time, a piece at a time for a large one.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveFormat.h"
#include "extract/ComparedEntries.h"
#include "extract/EntryContent.h"

namespace brasvel {

// What went wrong with an archive or one of its entries while searching.
struct SearchTrouble {
    std::string archive;  // the archive's path
    std::string entry;    // the entry's file name (UTF-8); empty for the archive as a whole
    std::string text;     // what went wrong, in words
    std::optional<ResourceError> error = std::nullopt;  // the error itself, when one was raised
};
using TroubleSink = std::function<void(const SearchTrouble&)>;

// The archive at `path`, of the kind its name or bytes tell (formatOfFile, bytes that fit it whole). Throws ResourceError when the file
// cannot be read or is no archive of a known kind.
Archive openArchiveOfAnyKind(const std::string& path);

// Calls `visit` for each archive that `paths` give, in order: a file is an archive itself; a
// folder gives every archive directly inside it, by name (its files that are no archive, and its
// folders, are passed over). A path that cannot be read, or a file given that is no archive, is
// reported and passed over; an archive whose directory ends early is visited with the entries
// read, and reported.
void forEachArchive(const std::vector<std::string>& paths,
                    const std::function<void(const Archive&)>& visit, const TroubleSink& trouble);

// The entries whose file name, folded to lower case, `matches` accepts; in directory order.
std::vector<std::size_t> findEntries(const Archive& archive,
                                     const std::function<bool(std::string_view)>& matches);

// Whether entry `entry` is searched as a text.
bool searchedAsText(const Entry& entry);

// A text to look for inside entries.
class ContentSearch {
public:
    // The search for `text` (UTF-8); nullopt when it is empty or Windows-1250 cannot write it.
    static std::optional<ContentSearch> forText(std::string_view text);

    struct Match {
        std::size_t line = 0;  // counted from 1; 0 for a binary entry
        std::string text;      // the line, decoded to UTF-8, without its line end; empty for 0
    };
    using MatchSink = std::function<void(const Match&)>;

    // Hands `found` each line of a text entry that holds the text, or for another entry one
    // match when its bytes hold it. Throws ResourceError as streamEntryContent does.
    void search(const Archive& archive, const Entry& entry, ContentBuffers& buffers,
                const MatchSink& found) const;
    // The same for entry `index` of a side with edits pending, say: searched as a text by its
    // name there, its content read from the archive that stores it or whole from the edit.
    void search(const ComparedEntries& side, std::size_t index, ContentBuffers& buffers,
                const MatchSink& found) const;
    // The same for `content`, entry `entry`'s whole content read by the caller.
    void search(const Entry& entry, Bytes content, const MatchSink& found) const;

private:
    // Hands the content to its sink a piece at a time.
    using Stream = std::function<void(const ContentSink& sink)>;
    ContentSearch(std::string bytes, std::string folded);
    void searchLines(const Stream& stream, const MatchSink& found) const;
    void searchBytes(const Stream& stream, const MatchSink& found) const;

    std::string bytes_;   // the text in Windows-1250
    std::string folded_;  // the same, folded to lower case
};

}  // namespace brasvel
