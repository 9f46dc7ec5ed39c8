// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What an entry is called where the user names it, and the entry a name gives: the name it is
// edited by, the entry name a file gives, and the entry found by a name the user typed (in
// another case, or for a sound as its file NAME.wav). Every front end finds entries here.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"
#include "base/ResourceError.h"

namespace brasvel {

inline constexpr const char* kNoSuchEntry = errorKindText(ErrorKind::NoSuchEntry);
inline constexpr const char* kAmbiguousName = errorKindText(ErrorKind::AmbiguousName);

// The name (UTF-8) that identifies an entry when it is edited.
std::string editName(const Entry& entry);

// The entry name (UTF-8) that a file named `fileName` gives in an archive of `format`: the name
// without ".wav" for SND; nullopt for a SND whose file is not a .wav file.
std::optional<std::string> entryNameForFile(const ArchiveFormat& format,
                                            std::string_view fileName);

// The entry named `name` (UTF-8): the one named exactly so, else the one named so in another
// case. Throws ResourceError "Ambiguous name", naming them, when no entry is named exactly so
// and several are in other cases (an archive may hold "A.TXT" and "a.txt").
std::optional<std::size_t> findEntry(std::span<const Entry> entries, std::string_view name);

// The entry that `name` gives in an archive of `format`: findEntry's, else for a kind whose
// entries come from NAME.wav files the entry of the name without ".wav". Throws as findEntry.
std::optional<std::size_t> findEntryOrFile(const ArchiveFormat& format,
                                           std::span<const Entry> entries, std::string_view name);

// The first entry whose caption, decoded to UTF-8, is exactly `name`.
std::optional<std::size_t> findEntryByCaption(std::span<const Entry> entries,
                                              std::string_view name);

}  // namespace brasvel
