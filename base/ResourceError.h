// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The one error type of the core. It carries the text the user reads ("Read beyond end of file",
// "File not found", ...) and, where it helps, the entry and the file offset where it happened.
// The window's handlers and the command line's main catch it and show it.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace brasvel {

class ResourceError : public std::runtime_error {
public:
    explicit ResourceError(std::string text, std::string detail = {});

    // The user-facing text alone, e.g. "Read beyond end of file".
    const std::string& text() const { return text_; }
    // Where it happened, in words ("needed 32 bytes at offset 1276, found 12"); may be empty.
    const std::string& detail() const { return detail_; }
    // The entry concerned, as shown to the user (UTF-8); empty when the error is the archive's.
    const std::string& entry() const { return entry_; }

    ResourceError& withEntry(std::string entryName);
    // Whether a file or the disk failed (not found, access denied, disk full, the system's I/O
    // errors) rather than the content: an unusable input or target, whichever stage met it.
    bool isFileFailure() const { return fileFailure_; }
    ResourceError& asFileFailure() {
        fileFailure_ = true;
        return *this;
    }
    // "text (detail)" or just the text.
    std::string describe() const;

private:
    std::string text_;
    std::string detail_;
    std::string entry_;
    bool fileFailure_ = false;
};

// What went wrong with a file, as the user is told it.
enum class FileFailure {
    NotFound,       // "File not found"
    InvalidName,    // "Invalid filename"
    TooManyOpen,    // "Too many open files"
    AccessDenied,   // "File access denied"
    ReadBeyondEnd,  // "Read beyond end of file"
    DiskFull,       // "Disk full"
    Other,          // the system's words for the error ("Too many levels of symbolic links")
};

std::string fileFailureText(FileFailure failure, int errnoValue = 0);

// The failure that an errno value of a failed file operation stands for.
FileFailure fileFailureOf(int errnoValue);

// The cause in words where the failure's text alone would mislead ("is a folder", "too many
// levels of symbolic links"); empty when the text says it.
std::string fileFailureCause(int errnoValue);

// A failed open, create, read, write or rename of `path`: the failure's text, and as detail the
// path followed by the cause where there is one ("File access denied (out: is a folder)").
ResourceError fileError(int errnoValue, const std::string& path);

// A read that needed `wanted` bytes at `offset` of a file or buffer of `available` bytes.
ResourceError readBeyondEnd(std::uint64_t offset, std::uint64_t wanted, std::uint64_t available);

// A structure of the archive or picture that cannot be right (a negative count, an absurd size).
ResourceError damaged(std::string what);

// An archive whose size or content changed after it was opened: what was read may be a mix.
ResourceError archiveChanged(const std::string& path);

inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kArchiveChanged = "The archive changed while it was read";

}  // namespace brasvel
