// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Pending changes to an archive, or the entries of a new one, and their saving. Entries are added
// or replaced from bytes or files, removed and renamed here; nothing touches a file until save(),
// which writes the whole result beside the old archive and puts it in place in one step.
//
// What is kept: an entry that was not changed keeps its stored bytes exactly (no recompression) and
// its whole directory row but the offset; a renamed one keeps all but its name field; a replaced
// one keeps its name field and, in a LOD, its type word. The header's bytes that are not the count
// are kept, and so is the directory's order: a new entry goes where the sorted order puts it in a
// directory sorted by name (a new LOD's is), else at the end. A LOD keeps the room its directory
// has before the first entry's data (a new one leaves room for 10000 rows), and grows it only when
// the rows no longer fit. Unchanged entries' data keep their order and come first; new data
// follows in directory order, except in a VID, whose data are laid in directory order throughout.
//
// Names are given as UTF-8, as the user types them: "NAME.EXT" for LOD and VID entries, "NAME" for
// SND entries (their files are "NAME.wav"). A name must be writable in Windows-1250, read back
// whole through the archive's own reader, be a safe file name on extraction and differ from every
// other entry's name, case-insensitively.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"
#include "archive/EntryNames.h"
#include "archive/NameRefusal.h"
#include "base/ReadOnlyFile.h"
#include "base/ResourceError.h"
#include "edit/ArchiveLock.h"
#include "edit/EditRefusals.h"
#include "edit/ReplacementFile.h"
#include "extract/AtomicFile.h"

namespace brasvel {

// The zlib level of LOD entries unless another is asked for (libdeflate's scale, 1 to 12). Measured
// (bench/edit.sh) on the benchmark's 8000 sprite- and text-like entries: level 5 is the fastest
// whose archive is no larger than zip -6's (0.996 of it, at 0.25 of its wall time); level 4 is 8%
// larger, level 6 takes half as long again for 1% fewer bytes.
inline constexpr int kDefaultCompressionLevel = 5;
inline constexpr int kMostCompressionLevel = 12;

inline constexpr const char* kNameRefused = errorKindText(ErrorKind::NameRefused);

// What a save does with damaged entries (ArchiveEdit::damagedEntries).
enum class DamagedEntries {
    Refuse,  // nothing is written: DamagedEntriesRefused names them
    Keep,    // each keeps its row and what of its stored bytes lies in the archive
    Drop,    // they are left out
};

struct SaveOptions {
    bool compress = true;  // LOD entries as zlib streams where that makes them smaller
    int level = kDefaultCompressionLevel;
    unsigned threads = 1;  // compressing and reading new entries
    // A file at the path is replaced; Refuse leaves it and fails with "File exists".
    ExistingFile existing = ExistingFile::Replace;
    // Save even when the archive on disk is no longer the file that was opened.
    bool overwriteChangedArchive = false;
    // Replace a hard-linked or write-protected archive: the user said so (--force, or confirmed).
    bool replaceProtected = false;
    // The lock the caller holds on the archive at the path for the whole edit (taken before the
    // archive was opened); null: save takes it for its own run, waiting up to `lockWait`.
    const ArchiveLock* lock = nullptr;
    std::chrono::milliseconds lockWait = kArchiveLockWait;
    // Tests: called with the lock held and the new archive complete and synced, just before it
    // replaces the old one; a second editor can be started there.
    std::function<void()> beforeReplacing;
    DamagedEntries damaged = DamagedEntries::Refuse;
    WriteFunction write = nullptr;  // tests: a failing or slow write in place of ::write
    Temporaries temporaries = Temporaries::Unnamed;
    SyncFunction sync = nullptr;    // tests: one that sees what is synced when
};

// Called after each entry written, with the entries done and the total.
using SaveProgress = std::function<void(std::size_t done, std::size_t total)>;

// A save refused because entries are damaged and the options did not say what to do with them.
class DamagedEntriesRefused : public ResourceError {
public:
    explicit DamagedEntriesRefused(std::vector<std::string> names);
    // The damaged entries' names (UTF-8), in directory order.
    const std::vector<std::string>& names() const { return names_; }

private:
    std::vector<std::string> names_;
};

inline constexpr const char* kDamagedEntries = errorKindText(ErrorKind::DamagedEntries);

class ArchiveEdit {
public:
    // A new archive, with no entries yet.
    explicit ArchiveEdit(const ArchiveFormat& format);
    // Changes to an open archive. Throws ResourceError when its directory could not be read whole:
    // writing it back would lose the entries past the damage.
    explicit ArchiveEdit(const Archive& archive);

    const ArchiveFormat& format() const { return *format_; }

    // Why `name` cannot be a new entry's name; nullopt when it can. `renamed` is the entry that
    // would carry it, whose own name does not count as a collision. nameRefusalText words it as
    // the "Name refused" error's detail.
    std::optional<NameRefusal> checkName(std::string_view name,
                                         std::optional<std::size_t> renamed = {}) const;

    // The entry named `name` (UTF-8), as findEntry finds it among the entries.
    std::optional<std::size_t> find(std::string_view name) const;

    // Adds an entry named `name`, or replaces the content of the entry of that name. Throws
    // ResourceError "Name refused" with the reason, changing nothing, when the name is refused.
    // Returns the entry's index.
    std::size_t put(std::string_view name, std::vector<std::byte> content);
    // The same with the content of a file, read when the archive is saved. Throws ResourceError
    // naming the file when it is not a readable file now, and ArchiveIsItsOwnInput when it is
    // the archive being edited (by any name).
    std::size_t putFile(std::string_view name, const std::string& path);
    // Adds entry `index` of `from`, an archive of the same kind, under its own name, or replaces
    // the content of the entry of that name: its stored bytes are copied as they are, never
    // recompressed. A new entry keeps its row's type word. Throws ResourceError, changing nothing,
    // for another kind of archive, stored bytes outside `from`, or a refused name. `from` is
    // shared, not copied: many entries of one archive are put at once.
    std::size_t putStored(const std::shared_ptr<const Archive>& from, std::size_t index);
    void remove(std::size_t index);
    // Throws ResourceError "Name refused" with the reason when `newName` is refused.
    void rename(std::size_t index, std::string_view newName);

    // The entries as they will be saved. Sizes of new entries are their content's; their offsets,
    // and the stored sizes of entries to compress, are known only once saved.
    const std::vector<Entry>& entries() const { return entries_; }
    // Whether entry `index` has content of its own that is not yet saved.
    bool isNew(std::size_t index) const;
    // Whether entry `index` differs from the archive as opened: new content or a new name.
    bool isChanged(std::size_t index) const;
    // The content entry `index` will hold once saved: the archive's entry as read (inflated), or
    // the new content, a file's read now. Throws ResourceError naming the entry or the file.
    std::vector<std::byte> content(std::size_t index) const;
    // Whether saving would write anything other than the archive as opened.
    bool hasChanges() const { return changed_; }

    // Why entry `index` is damaged, in words; nullopt when it is not. An entry of the archive as
    // opened is damaged when its row shows it (EntryCheck::rowDamage) or markDamaged said so; new
    // content never is, and a rename keeps the damage.
    std::optional<std::string> damage(std::size_t index) const;
    // Records damage found in an unchanged entry's content when it was read.
    void markDamaged(std::size_t index, std::string what);
    // The index in the archive as opened of entry `index` while it holds that entry's content
    // (unchanged or renamed); nullopt for new content.
    std::optional<std::size_t> originalIndex(std::size_t index) const {
        return index < sources_.size() ? sources_[index].original : std::nullopt;
    }
    // The damaged entries, in directory order.
    std::vector<std::size_t> damagedEntries() const;
    // The archive that holds entry `index`'s stored bytes as they will be saved, `row` set to its
    // row there: the archive as opened for an unchanged or renamed entry, another archive for one
    // put stored; null for new content of bytes or a file.
    const Archive* storedIn(std::size_t index, Entry& row) const;

    // Writes the result to `path`, all or nothing (see ReplacementFile), holding the archive's
    // lock. Returns false when `cancel` was set, checked between entries; nothing is changed
    // then. Throws, leaving the file at `path` as it was: ArchiveBusy when another editor holds
    // the lock; ArchiveChangedOnDisk when the opened archive's file changed since it was opened
    // (unless allowed), checked before writing and again just before the new archive replaces
    // it; ArchiveProtected for a hard-linked or write-protected file at `path` (unless allowed);
    // ArchiveIsItsOwnInput for a file put in that is the archive; ResourceError naming the file
    // or entry at fault for anything else. Reopen the archive after saving over it.
    bool save(const std::string& path, const SaveOptions& options = {},
              const SaveProgress& progress = {}, const std::atomic<bool>* cancel = nullptr) const;

private:
    // Where an entry's stored bytes come from.
    struct Source {
        std::optional<std::size_t> original;  // the index of an unchanged entry in the archive
        std::shared_ptr<const std::vector<std::byte>> bytes;  // new content
        std::string path;                                     // new content, from a file
        std::optional<std::string> damage;  // why the original's stored bytes are damaged
        std::shared_ptr<const Archive> storedIn;  // new content, stored bytes of another archive's
        Entry storedEntry;                        // entry, kept as they are
    };

    // The name in archive bytes, or throws "Name refused" with the reason.
    std::string acceptedName(std::string_view name, std::optional<std::size_t> renamed) const;
    // Why `name` is refused, or nullopt with `bytes` set to it in archive bytes.
    std::optional<NameRefusal> refusalOf(std::string_view name, std::optional<std::size_t> renamed,
                                         std::string& bytes) const;
    std::size_t putSource(std::string_view name, Source source, std::int32_t size);
    // Where an entry named `nameBytes` goes in the directory.
    std::size_t placeFor(std::string_view nameBytes) const;
    void insert(std::size_t index, Entry entry, Source source);
    void countName(const Entry& entry, int change);
    int namesLike(std::string_view nameBytes) const;
    // Throws ArchiveIsItsOwnInput when a file put in is the one at `path` or the opened archive.
    void refuseOwnInputs(const std::string& path) const;

    const ArchiveFormat* format_;
    std::optional<Archive> archive_;
    std::vector<Entry> entries_;
    std::vector<Source> sources_;
    std::unordered_map<std::string, int> names_;  // how many entries bear each folded name
    // The type word most of the archive's entries of each folded extension carry.
    std::unordered_map<std::string, std::int32_t> typeOfExtension_;
    std::string fieldTail_;  // what new name fields carry after their NUL
    bool sorted_ = false;    // the directory is kept sorted by name
    bool changed_ = false;
};

}  // namespace brasvel
