// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The content of one entry. An entry's stored bytes must lie wholly inside the archive. A LOD
// entry with a PackedSize is one zlib stream that must inflate to exactly Size bytes; every other
// entry is its stored bytes as they are.
//
//   kind  stored bytes                       content
//   LOD   PackedSize bytes at Offset (zlib)  the stream inflated: exactly Size bytes
//   LOD   Size bytes at Offset (PackedSize 0) the stored bytes
//   SND   Size bytes at Offset                the stored bytes
//   VID   Size bytes at Offset                the stored bytes
//
// Memory never follows a stated size. An entry whose stored bytes and content are both at most
// kWholeContentLimit is read and inflated in one piece (the fast way, and every entry of a game
// archive); a larger one is read and inflated in pieces of kContentPiece bytes, so that a stream
// that states 2 GB and holds little fails after the little it holds, and a real large entry
// reaches its file piece by piece.

#include <cstdint>
#include <functional>
#include <vector>

#include "archive/Archive.h"
#include "archive/Entry.h"
#include "base/ByteReader.h"
#include "base/ResourceError.h"

namespace brasvel {

inline constexpr const char* kDamagedEntry = errorKindText(ErrorKind::DamagedEntry);
inline constexpr std::size_t kWholeContentLimit = std::size_t{16} << 20;
inline constexpr std::size_t kContentPiece = std::size_t{1} << 20;

// Where an entry's stored bytes lie in an archive of `archiveSize` bytes. Throws ResourceError:
// "Damaged entry" for a negative offset or length, "Read beyond end of file" when they reach
// past the archive's end.
struct StoredRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t end() const { return offset + length; }
    friend bool operator==(const StoredRange&, const StoredRange&) = default;
};
StoredRange storedRange(const Entry& entry, const ArchiveFormat& format, std::uint64_t archiveSize);

// The stored bytes of an entry, a view of `archive`. Throws as storedRange does.
Bytes storedBytes(Bytes archive, const Entry& entry, const ArchiveFormat& format);

// For each entry of the archive, another entry whose stored bytes overlap its own in part, or
// kNoOverlap. Entries stored at exactly the same bytes share them, which is allowed; bytes that
// overlap in part cannot be both entries' and mark them damaged. Entries outside the archive or
// without stored bytes overlap nothing.
inline constexpr std::size_t kNoOverlap = static_cast<std::size_t>(-1);
std::vector<std::size_t> partialOverlaps(const Archive& archive);

// Whether the entry is stored as a zlib stream.
bool isCompressed(const Entry& entry, const ArchiveFormat& format);

// The entry's content: a view of `archive` for an entry stored plain, or of `buffer` for a
// compressed one. Reusing one buffer per thread saves an allocation per entry. Throws
// ResourceError as storedBytes does, and "Damaged entry" for a stream that is not valid zlib or
// does not inflate to exactly Size bytes.
Bytes entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format,
                   std::vector<std::byte>& buffer);

// The same as a copy of its own.
std::vector<std::byte> entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format);

// When `archive` is a read-only file mapping (Archive::bytes): unmaps the pages of bytes `begin`
// to `end`, and up to 64 KB before them that reading them may have mapped again, so that copying
// a whole archive does not keep all of it in the process's memory. Never call it for bytes of the
// heap: those pages would be lost.
void releasePages(Bytes archive, std::size_t begin, std::size_t end) noexcept;

// Buffers reused from entry to entry of an open archive: its stored bytes, its inflated content.
struct ContentBuffers {
    std::vector<std::byte> stored;
    std::vector<std::byte> content;
};

// The content of an entry of an open archive, in one piece: a view of `buffers`. Throws as
// above, and "The archive changed while it was read" when the file moved since it was opened.
Bytes entryContent(const Archive& archive, const Entry& entry, ContentBuffers& buffers);

// The content of an entry of an open archive, as a copy of its own.
std::vector<std::byte> entryContent(const Archive& archive, const Entry& entry);

// Hands the entry's content to `sink` in order, in pieces of at most kWholeContentLimit bytes,
// reading and inflating no more than a piece ahead. Throws as entryContent, possibly after
// pieces were handed on: what the sink made of them is then to be thrown away.
using ContentSink = std::function<void(Bytes piece)>;
void streamEntryContent(const Archive& archive, const Entry& entry, ContentBuffers& buffers,
                        const ContentSink& sink);

}  // namespace brasvel

namespace brasvel {

// How many bytes the entry's stored bytes really hold, whatever its stated Size: their length for
// an entry stored plain, the length its stream inflates to for a compressed one. Reads them all,
// a piece at a time; takes time in proportion to the stored bytes, never to a stated size.
// Throws as entryContent does for a stream that is not valid zlib.
std::uint64_t storedContentSize(const Archive& archive, const Entry& entry,
                                ContentBuffers& buffers);

}  // namespace brasvel
