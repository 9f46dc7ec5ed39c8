// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Whether a file's bytes look like an archive of a given kind, before its directory is listed: a
// file opened under the wrong kind would otherwise be listed as thousands of garbage rows.
//
//   LOD  starts with "LOD\0".
//   SND  not a LOD; count >= 0; 4 + count × 48 fits the file; every row's data (offset + size)
//        lies in it, after the directory.
//   VID  not a LOD; count >= 0; 4 + count × 44 fits the file; every row's offset lies in it, after
//        the directory.
//
// An empty SND or VID (count 0) looks like both: the check only refuses what cannot be the kind.
//
// Before an archive is listed or edited, the looser kindProblem() decides whether it may be of the
// kind asked at all: a damaged archive still lists what can be read, a file of another kind or
// random bytes are refused.
//
//   LOD  starts with "LOD\0" (its directory may be cut short: the rows that are there are listed).
//   SND  not a LOD; count >= 0; 4 + count × 48 fits the file; with rows, at least one row's data
//        lies in the file, after the directory.
//   VID  the same with rows of 44 bytes and offsets only.
//   Bytes that fit one of these two whole and the other only as a damaged one are refused as the
//   other.

#include <optional>
#include <string>

#include "archive/ArchiveFormat.h"
#include "base/ByteReader.h"
#include "base/ReadOnlyFile.h"
#include "base/ResourceError.h"

namespace brasvel {

bool looksLike(Bytes archive, const ArchiveFormat& format);
// The same from the archive's first bytes, when the archive is `archiveSize` bytes long; false
// when `head` ends before the rows it would need.
bool looksLike(Bytes head, std::uint64_t archiveSize, const ArchiveFormat& format);

// The first kind of archiveFormats() that the bytes look like; null when none.
const ArchiveFormat* likelyFormat(Bytes archive);

// Why the archive cannot be of `format`, in words ("it has no LOD signature"); nullopt when it can.
// `head` holds the archive's first bytes, at least up to the end of the rows that its count states
// and the file holds, for every kind whose count lies where this kind's does; the archive is
// `archiveSize` bytes long.
std::optional<std::string> kindProblem(const ArchiveFormat& format, Bytes head,
                                       std::uint64_t archiveSize);

// The kind the bytes look like: one they fit whole (likelyFormat), else the first they may be a
// damaged archive of (kindProblem finds nothing); null when none. How a file named without a
// known extension is opened.
const ArchiveFormat* formatOfBytes(Bytes archive);

// How a file's bytes tell its kind when its name does not.
enum class BytesFit {
    Whole,           // a kind they fit whole (likelyFormat), as a folder's archives are found
    WholeOrDamaged,  // else one they may be a damaged archive of (formatOfBytes)
};

// The kind of the file at `path`: the one its name's last three characters tell (formatFromPath),
// else the one its bytes tell by `fit`; null when neither does. The file is read only when its
// name tells nothing; ResourceError when it cannot be.
const ArchiveFormat* formatOfFile(const std::string& path, BytesFit fit);
// The same for the file at `path`, open as `file`.
const ArchiveFormat* formatOfFile(const std::string& path, const ReadOnlyFile& file, BytesFit fit);

// The refusal of an archive that cannot be of `format`: "Not a LOD archive", with what it looks
// like instead ("it looks like an SND archive") or else why, from the whole of its bytes.
ResourceError notOfKind(const ArchiveFormat& format, Bytes archive);

// The kind of that refusal: NotLodArchive, NotSndArchive or NotVidArchive.
ErrorKind notOfKindError(const ArchiveFormat& format);

// The kind's name in a sentence: "a LOD archive", "an SND archive".
std::string kindInWords(const ArchiveFormat& format);

}  // namespace brasvel
