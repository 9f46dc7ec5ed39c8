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

#include "archive/ArchiveFormat.h"
#include "base/ByteReader.h"

namespace brasvel {

bool looksLike(Bytes archive, const ArchiveFormat& format);

// The first kind of archiveFormats() that the bytes look like; null when none.
const ArchiveFormat* likelyFormat(Bytes archive);

}  // namespace brasvel
