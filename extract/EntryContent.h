#pragma once

// The content of one entry, read from the archive's bytes in memory. An entry's stored bytes must
// lie wholly inside the archive. A LOD entry with a PackedSize is one zlib stream that must
// inflate to exactly Size bytes; every other entry is its stored bytes as they are.
//
//   kind  stored bytes                       content
//   LOD   PackedSize bytes at Offset (zlib)  the stream inflated: exactly Size bytes
//   LOD   Size bytes at Offset (PackedSize 0) the stored bytes
//   SND   Size bytes at Offset                the stored bytes
//   VID   Size bytes at Offset                the stored bytes

#include <cstdint>
#include <vector>

#include "archive/Archive.h"
#include "archive/Entry.h"
#include "base/ByteReader.h"

namespace brasvel {

inline constexpr const char* kDamagedEntry = "Damaged entry";

// The stored bytes of an entry, a view of `archive`. Throws ResourceError: "Damaged entry" for a
// negative offset or length, "Read beyond end of file" when they reach past the archive's end.
Bytes storedBytes(Bytes archive, const Entry& entry, const ArchiveFormat& format);

// Whether the entry is stored as a zlib stream.
bool isCompressed(const Entry& entry, const ArchiveFormat& format);

// The entry's content: a view of `archive` for an entry stored plain, or of `buffer` (resized to
// Size) for a compressed one. Reusing one buffer per thread saves an allocation per entry.
// Throws ResourceError as storedBytes does, and "Damaged entry" for a stream that is not valid zlib
// or does not inflate to exactly Size bytes.
Bytes entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format,
                   std::vector<std::byte>& buffer);

// When `archive` is a read-only file mapping: unmaps the pages that the entry's stored bytes lie
// on, so that reading a whole archive does not keep all of it in the process's memory. The pages
// stay in the system's file cache, and a later read maps them again. Does nothing for an entry
// outside the archive. Never call it for bytes of the heap: those pages would be lost.
void releaseStoredPages(Bytes archive, const Entry& entry, const ArchiveFormat& format) noexcept;

// The same for bytes `begin` to `end` of `archive`, a read-only file mapping, and the pages up to
// 64 KB before them that reading them may have mapped again.
void releasePages(Bytes archive, std::size_t begin, std::size_t end) noexcept;

// The same as a copy of its own.
std::vector<std::byte> entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format);

// The content of an entry of an open archive, as a copy of its own.
std::vector<std::byte> entryContent(const Archive& archive, const Entry& entry);

}  // namespace brasvel
