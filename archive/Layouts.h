// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The byte layouts of the three archive kinds, shared by the readers and every writer so that they
// cannot drift apart. All numbers are little-endian; offsets are from the start of the file.
//
// LOD   0 "LOD\0"  4 u32 (200 in the game's archives)  8 i32 count  12 ... (kept as is)
//       rows of 32 bytes from 92, room for kLodReservedRows of them before the first entry's data:
//         0  name[16]   "NAME.EXT", NUL-filled; bytes 0-11 are scanned for the dot
//         16 offset     i32
//         20 size       i32, unpacked
//         24 type       i32, kept as read
//         28 packedSize i32, 0 when stored plain
// SND   0 i32 count; rows of 48 bytes from 4:
//         0  name[40]   NUL-terminated, no extension
//         40 offset     i32
//         44 size       i32
// VID   0 i32 count; rows of 44 bytes from 4:
//         0  name[40]   "NAME.EXT", NUL-filled; bytes 0-14 are scanned for the dot
//         40 offset     i32
//       Sizes are not stored: each entry reaches to the next greater offset, or the end of file.

#include <cstddef>
#include <cstdint>

namespace brasvel::layout {

inline constexpr char kLodSignature[4] = {'L', 'O', 'D', '\0'};
inline constexpr std::uint32_t kLodVersion = 200;
inline constexpr std::uint64_t kLodCountOffset = 8;
inline constexpr std::uint64_t kLodFirstRow = 92;
inline constexpr std::uint64_t kLodRowSize = 32;
inline constexpr std::size_t kLodNameField = 16;
inline constexpr std::size_t kLodNameScan = 12;
inline constexpr std::uint64_t kLodRowOffset = 16;
inline constexpr std::uint64_t kLodRowSizeField = 20;
inline constexpr std::uint64_t kLodRowType = 24;
inline constexpr std::uint64_t kLodRowPackedSize = 28;
inline constexpr std::uint64_t kLodReservedRows = 10000;

inline constexpr std::uint64_t kSndCountOffset = 0;
inline constexpr std::uint64_t kSndFirstRow = 4;
inline constexpr std::uint64_t kSndRowSize = 48;
inline constexpr std::size_t kSndNameField = 40;

inline constexpr std::uint64_t kVidCountOffset = 0;
inline constexpr std::uint64_t kVidFirstRow = 4;
inline constexpr std::uint64_t kVidRowSize = 44;
inline constexpr std::size_t kVidNameField = 40;

// The listing shows at most this many bytes of a LOD or SND name before the extension.
inline constexpr std::size_t kListedNameBytes = 12;

}  // namespace brasvel::layout
