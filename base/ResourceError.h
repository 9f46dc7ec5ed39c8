// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The one error type of the core. It carries its kind, the text the user reads ("Read beyond end
// of file", "File not found", ...), whether it fails one entry or the whole task and, where it
// helps, the entry and the file offset where it happened.
// The window's handlers and the command line's main catch it and show it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace brasvel {

// What went wrong, as the program tells one error from another: the command line and the window
// act on the kind, never on the text. Each kind has one English text (errorKindText), but for
// FileFailure and Unexpected, whose texts are the system's or a library's words.
enum class ErrorKind {
    // A file or the disk failed.
    FileNotFound,
    InvalidFileName,
    TooManyOpenFiles,
    FileAccessDenied,
    DiskFull,
    FileFailure,  // the system's words for the error ("Too many levels of symbolic links")
    FileExists,
    FilesExist,
    FileTooLarge,
    FileChanged,
    // Archives and their entries.
    ReadBeyondEnd,
    DamagedFile,
    ArchiveChanged,
    NotLodArchive,
    NotSndArchive,
    NotVidArchive,
    NotAnArchive,
    OtherKindOfArchive,
    DamagedEntry,
    DamagedEntries,
    NoSuchEntry,
    UnsafeEntryName,
    NameWrittenInRun,
    NameRefused,
    AmbiguousName,
    EmptyEntry,
    ArchiveTooLarge,
    CannotCompress,
    InvalidCompressionLevel,
    ArchiveInUse,
    ArchiveChangedOnDisk,
    ArchiveProtected,
    OwnInput,
    // Pictures and sprites.
    UnsupportedPictureFormat,
    EmptyPicture,
    PictureTooLarge,
    DamagedPicture,
    UnsupportedBitDepth,
    TooManyColours,
    UnsupportedBmp,
    DamagedBmp,
    CannotReadPng,
    CannotWritePng,
    EmptyPng,
    AnimationWithoutFrames,
    UnequalFrames,
    DamagedPng,
    DamagedSprite,
    NoSuchFrame,
    SpriteTooLarge,
    PaletteMismatch,
    FrameNotIndexed,
    FrameSizeMismatch,
    CannotWriteSprite,
    DamagedSpriteListing,
    // Videos.
    NotAVideo,
    DamagedVideo,
    VideoTooLarge,
    FrameNotFound,
    NoSound,
    VideoUnavailable,
    // Anything else: memory, a library's own exception.
    NotEnoughMemory,
    Unexpected,
    // A text the window or its toolkit worded itself, already in the user's language; the core
    // never raises it. Last, so that kErrorKinds can be checked whole.
    Worded,
};

// Every kind, in the enum's order.
inline constexpr ErrorKind kErrorKinds[] = {
    ErrorKind::FileNotFound,
    ErrorKind::InvalidFileName,
    ErrorKind::TooManyOpenFiles,
    ErrorKind::FileAccessDenied,
    ErrorKind::DiskFull,
    ErrorKind::FileFailure,
    ErrorKind::FileExists,
    ErrorKind::FilesExist,
    ErrorKind::FileTooLarge,
    ErrorKind::FileChanged,
    ErrorKind::ReadBeyondEnd,
    ErrorKind::DamagedFile,
    ErrorKind::ArchiveChanged,
    ErrorKind::NotLodArchive,
    ErrorKind::NotSndArchive,
    ErrorKind::NotVidArchive,
    ErrorKind::NotAnArchive,
    ErrorKind::OtherKindOfArchive,
    ErrorKind::DamagedEntry,
    ErrorKind::DamagedEntries,
    ErrorKind::NoSuchEntry,
    ErrorKind::UnsafeEntryName,
    ErrorKind::NameWrittenInRun,
    ErrorKind::NameRefused,
    ErrorKind::AmbiguousName,
    ErrorKind::EmptyEntry,
    ErrorKind::ArchiveTooLarge,
    ErrorKind::CannotCompress,
    ErrorKind::InvalidCompressionLevel,
    ErrorKind::ArchiveInUse,
    ErrorKind::ArchiveChangedOnDisk,
    ErrorKind::ArchiveProtected,
    ErrorKind::OwnInput,
    ErrorKind::UnsupportedPictureFormat,
    ErrorKind::EmptyPicture,
    ErrorKind::PictureTooLarge,
    ErrorKind::DamagedPicture,
    ErrorKind::UnsupportedBitDepth,
    ErrorKind::TooManyColours,
    ErrorKind::UnsupportedBmp,
    ErrorKind::DamagedBmp,
    ErrorKind::CannotReadPng,
    ErrorKind::CannotWritePng,
    ErrorKind::EmptyPng,
    ErrorKind::AnimationWithoutFrames,
    ErrorKind::UnequalFrames,
    ErrorKind::DamagedPng,
    ErrorKind::DamagedSprite,
    ErrorKind::NoSuchFrame,
    ErrorKind::SpriteTooLarge,
    ErrorKind::PaletteMismatch,
    ErrorKind::FrameNotIndexed,
    ErrorKind::FrameSizeMismatch,
    ErrorKind::CannotWriteSprite,
    ErrorKind::DamagedSpriteListing,
    ErrorKind::NotAVideo,
    ErrorKind::DamagedVideo,
    ErrorKind::VideoTooLarge,
    ErrorKind::FrameNotFound,
    ErrorKind::NoSound,
    ErrorKind::VideoUnavailable,
    ErrorKind::NotEnoughMemory,
    ErrorKind::Unexpected,
    ErrorKind::Worded,
};
static_assert(std::size(kErrorKinds) == static_cast<std::size_t>(ErrorKind::Worded) + 1);

// The English text of an error of `kind`, as the command line prints it. FileFailure, Unexpected
// and Worded are raised with words of their own; these are their texts only when none were given.
constexpr const char* errorKindText(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::FileNotFound:
            return "File not found";
        case ErrorKind::InvalidFileName:
            return "Invalid filename";
        case ErrorKind::TooManyOpenFiles:
            return "Too many open files";
        case ErrorKind::FileAccessDenied:
            return "File access denied";
        case ErrorKind::DiskFull:
            return "Disk full";
        case ErrorKind::FileFailure:
            return "File error";
        case ErrorKind::FileExists:
            return "File exists";
        case ErrorKind::FilesExist:
            return "Files exist";
        case ErrorKind::FileTooLarge:
            return "File too large";
        case ErrorKind::FileChanged:
            return "File changed while it was read";
        case ErrorKind::ReadBeyondEnd:
            return "Read beyond end of file";
        case ErrorKind::DamagedFile:
            return "Damaged file";
        case ErrorKind::ArchiveChanged:
            return "The archive changed while it was read";
        case ErrorKind::NotLodArchive:
            return "Not a LOD archive";
        case ErrorKind::NotSndArchive:
            return "Not an SND archive";
        case ErrorKind::NotVidArchive:
            return "Not a VID archive";
        case ErrorKind::NotAnArchive:
            return "Not an archive";
        case ErrorKind::OtherKindOfArchive:
            return "Other kind of archive";
        case ErrorKind::DamagedEntry:
            return "Damaged entry";
        case ErrorKind::DamagedEntries:
            return "Damaged entries";
        case ErrorKind::NoSuchEntry:
            return "No such entry";
        case ErrorKind::UnsafeEntryName:
            return "Unsafe entry name";
        case ErrorKind::NameWrittenInRun:
            return "Name already written in this run";
        case ErrorKind::NameRefused:
            return "Name refused";
        case ErrorKind::AmbiguousName:
            return "Ambiguous name";
        case ErrorKind::EmptyEntry:
            return "Empty entry";
        case ErrorKind::ArchiveTooLarge:
            return "Archive too large";
        case ErrorKind::CannotCompress:
            return "Cannot compress";
        case ErrorKind::InvalidCompressionLevel:
            return "Invalid compression level";
        case ErrorKind::ArchiveInUse:
            return "Archive in use";
        case ErrorKind::ArchiveChangedOnDisk:
            return "Archive changed on disk";
        case ErrorKind::ArchiveProtected:
            return "Archive protected";
        case ErrorKind::OwnInput:
            return "The archive cannot be its own input";
        case ErrorKind::UnsupportedPictureFormat:
            return "Unsupported picture format";
        case ErrorKind::EmptyPicture:
            return "Empty picture";
        case ErrorKind::PictureTooLarge:
            return "Picture too large";
        case ErrorKind::DamagedPicture:
            return "Damaged picture";
        case ErrorKind::UnsupportedBitDepth:
            return "Unsupported bit depth";
        case ErrorKind::TooManyColours:
            return "Too many colours";
        case ErrorKind::UnsupportedBmp:
            return "Unsupported BMP file";
        case ErrorKind::DamagedBmp:
            return "Damaged BMP file";
        case ErrorKind::CannotReadPng:
            return "Cannot read PNG";
        case ErrorKind::CannotWritePng:
            return "Cannot write PNG";
        case ErrorKind::EmptyPng:
            return "Cannot write an empty picture as PNG";
        case ErrorKind::AnimationWithoutFrames:
            return "Cannot write an animation without frames";
        case ErrorKind::UnequalFrames:
            return "Cannot write an animation of unequal frames";
        case ErrorKind::DamagedPng:
            return "Damaged PNG file";
        case ErrorKind::DamagedSprite:
            return "Damaged sprite";
        case ErrorKind::NoSuchFrame:
            return "No such frame";
        case ErrorKind::SpriteTooLarge:
            return "Sprite too large";
        case ErrorKind::PaletteMismatch:
            return "Palette mismatch";
        case ErrorKind::FrameNotIndexed:
            return "Frame is not indexed";
        case ErrorKind::FrameSizeMismatch:
            return "Frame size mismatch";
        case ErrorKind::CannotWriteSprite:
            return "Cannot write sprite";
        case ErrorKind::DamagedSpriteListing:
            return "Damaged sprite listing";
        case ErrorKind::NotAVideo:
            return "Not a video";
        case ErrorKind::DamagedVideo:
            return "Damaged video";
        case ErrorKind::VideoTooLarge:
            return "Video too large";
        case ErrorKind::FrameNotFound:
            return "Frame not found";
        case ErrorKind::NoSound:
            return "Video has no sound";
        case ErrorKind::VideoUnavailable:
            return "Video decoding is not available";
        case ErrorKind::NotEnoughMemory:
            return "Not enough memory";
        case ErrorKind::Unexpected:
            return "Unexpected error";
        case ErrorKind::Worded:
            break;
    }
    return "Error";
}

// Whether the kind's text is the same whenever it is raised; false for the kinds raised with
// the system's, a library's or the window's words.
constexpr bool hasFixedText(ErrorKind kind) {
    return kind != ErrorKind::FileFailure && kind != ErrorKind::Unexpected &&
           kind != ErrorKind::Worded;
}

// What an error fails: the one entry it met, while the task goes on with the others, or the whole
// task (opening, saving, a batch), whose other results could not be trusted or done either.
enum class ErrorScope { Entry, Task };

// The scope an error of `kind` has unless it is raised with another: a changed archive makes
// everything read from it doubtful, and a refused save or archive is refused whole.
constexpr ErrorScope defaultScope(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::ArchiveChanged:
        case ErrorKind::DamagedFile:
        case ErrorKind::NotLodArchive:
        case ErrorKind::NotSndArchive:
        case ErrorKind::NotVidArchive:
        case ErrorKind::NotAnArchive:
        case ErrorKind::OtherKindOfArchive:
        case ErrorKind::DamagedEntries:
        case ErrorKind::ArchiveTooLarge:
        case ErrorKind::InvalidCompressionLevel:
        case ErrorKind::ArchiveInUse:
        case ErrorKind::ArchiveChangedOnDisk:
        case ErrorKind::ArchiveProtected:
        case ErrorKind::OwnInput:
        case ErrorKind::FilesExist:
        case ErrorKind::VideoUnavailable:
            return ErrorScope::Task;
        default:
            return ErrorScope::Entry;
    }
}

// Whether a file or the disk failed (not found, access denied, disk full, the system's I/O
// errors) rather than the content: an unusable input or target, whichever stage met it.
constexpr bool isFileFailureKind(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::FileNotFound:
        case ErrorKind::InvalidFileName:
        case ErrorKind::TooManyOpenFiles:
        case ErrorKind::FileAccessDenied:
        case ErrorKind::DiskFull:
        case ErrorKind::FileFailure:
            return true;
        default:
            return false;
    }
}

class ResourceError : public std::runtime_error {
public:
    // An error with its kind's text (errorKindText).
    explicit ResourceError(ErrorKind kind, std::string detail = {});
    // An error of `kind` with words of its own: the system's or a library's for FileFailure and
    // Unexpected, the window's for Worded.
    static ResourceError withText(ErrorKind kind, std::string text, std::string detail = {});
    // The window's or its toolkit's own error, worded by it (kind Worded).
    static ResourceError worded(std::string text, std::string detail = {}) {
        return withText(ErrorKind::Worded, std::move(text), std::move(detail));
    }

    ErrorKind kind() const { return kind_; }
    ErrorScope scope() const { return scope_; }
    // The user-facing text alone, e.g. "Read beyond end of file".
    const std::string& text() const { return text_; }
    // Where it happened, in words ("needed 32 bytes at offset 1276, found 12"); may be empty.
    const std::string& detail() const { return detail_; }
    // The entry concerned, as shown to the user (UTF-8); empty when the error is the archive's.
    const std::string& entry() const { return entry_; }

    ResourceError& withEntry(std::string entryName);
    ResourceError& withScope(ErrorScope scope) {
        scope_ = scope;
        return *this;
    }
    bool isFileFailure() const { return isFileFailureKind(kind_); }
    // "text (detail)" or just the text.
    std::string describe() const;

private:
    ResourceError(ErrorKind kind, std::string text, std::string detail);

    ErrorKind kind_;
    ErrorScope scope_;
    std::string text_;
    std::string detail_;
    std::string entry_;
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

// The kind of error a failure is raised as; ErrorKind::FileFailure for Other.
ErrorKind errorKindOf(FileFailure failure);

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

inline constexpr const char* kReadBeyondEnd = errorKindText(ErrorKind::ReadBeyondEnd);
inline constexpr const char* kArchiveChanged = errorKindText(ErrorKind::ArchiveChanged);

}  // namespace brasvel
