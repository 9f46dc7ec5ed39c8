// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The open archive, its damage and its pending edit: how the window opens an archive and reads
// its entries, saved or edited.

#include "window/ArchiveSession.h"

#include "archive/FormatCheck.h"
#include "base/ReadOnlyFile.h"
#include "base/Text.h"
#include "extract/EntryCheck.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "window/FolderSession.h"

namespace brasvel {

ArchiveSession::ArchiveSession() = default;
ArchiveSession::~ArchiveSession() = default;

const ArchiveFormat* ArchiveSession::kindOf(const std::string& path) {
    return formatOfFile(path, BytesFit::WholeOrDamaged);
}

bool ArchiveSession::open(const std::string& path, const ArchiveFormat& format,
                          const EntryProgress& progress, const OtherKindQuestion& otherKind) {
    nameUnopened(path);
    auto file = std::make_shared<const ReadOnlyFile>(path);
    const ArchiveFormat* chosen = &format;
    if (!looksLike(file->bytes(), format)) {
        if (const ArchiveFormat* likely = likelyFormat(file->bytes())) {
            if (!otherKind(*likely)) {
                return false;
            }
            chosen = likely;
        }
    }
    adopt(Archive::open(std::move(file), path, *chosen, progress));
    return true;
}

void ArchiveSession::adopt(Archive archive) {
    nameUnopened(archive.path());
    archive_ = std::move(archive);
    // The rows' damage is known at once; the content's when it is read.
    const EntryCheck check(*archive_);
    damage_.resize(archive_->entries().size());
    for (std::size_t index = 0; index < damage_.size(); ++index) {
        damage_[index] = check.rowDamage(index);
    }
}

void ArchiveSession::openFolder(const std::string& folder, const TroubleSink& trouble) {
    nameUnopened(folder);
    folder_ = std::make_unique<FolderSession>(folder, trouble);
    path_ = folder_->path();
}

void ArchiveSession::close() {
    dropEdits();
    archive_.reset();
    damage_.clear();
    folder_.reset();
}

void ArchiveSession::nameUnopened(std::string path) {
    close();
    path_ = std::move(path);
}

const std::vector<Entry>& ArchiveSession::entries() const {
    static const std::vector<Entry> none;
    if (edit_) {
        return edit_->entries();
    }
    if (folder_) {
        return folder_->entries();
    }
    return archive_ ? archive_->entries() : none;
}

std::optional<std::size_t> ArchiveSession::find(const std::string& name) const {
    if (edit_) {
        return edit_->find(name);
    }
    std::optional<std::size_t> found;
    for (std::size_t index = 0; index < entries().size(); ++index) {
        if (editName(entries()[index]) == name) {
            found = index;
        }
    }
    return found;
}

std::vector<std::byte> ArchiveSession::content(std::size_t index) const {
    if (edit_) {
        return edit_->content(index);
    }
    if (folder_) {
        return folder_->content(index);
    }
    return entryContent(*archive_, archive_->entries().at(index));
}

ExtractedEntry ArchiveSession::extract(std::size_t position, std::size_t index,
                                       const TargetFolder& folder,
                                       std::set<std::string>& written) const {
    if (folder_) {
        return folder_->extract(position, index, folder, written);
    }
    if (hasChanges()) {
        return extractEdited(position, index, folder, written);
    }
    ExtractedEntry outcome = extractEntry(*archive_, index, folder, ExtractOptions{});
    outcome.position = position;
    if (outcome.done()) {
        written.insert(caseFolded(outcome.fileName));
    }
    return outcome;
}

void ArchiveSession::extractEach(std::span<const std::size_t> indices, const TargetFolder& folder,
                                 const EntryReport& report) const {
    if (folder_) {
        folder_->extractEach(indices, folder, report);
        return;
    }
    if (!hasChanges()) {
        extractEntries(*archive_, indices, folder, ExtractOptions{}, report);
        return;
    }
    // Unsaved edits: each entry's content as it now is, one after another.
    std::set<std::string> written;
    for (std::size_t position = 0; position < indices.size(); ++position) {
        if (!report(extractEdited(position, indices[position], folder, written))) {
            return;
        }
    }
}

// What the batch would write for the entry, read through the pending edit.
ExtractedEntry ArchiveSession::extractEdited(std::size_t position, std::size_t index,
                                             const TargetFolder& folder,
                                             std::set<std::string>& written) const {
    ExtractedEntry outcome;
    outcome.position = position;
    outcome.index = index;
    outcome.entry = &entries().at(index);
    const Entry& entry = *outcome.entry;
    try {
        const ArchiveFormat& format = archive_->format();
        outcome.fileName = outputFileName(entry, format, true);
        // As in a batch of the saved archive, no file of this run is written over.
        const std::string folded = caseFolded(outcome.fileName);
        if (written.count(folded) > 0) {
            throw ResourceError(ErrorKind::NameWrittenInRun,
                                outcome.fileName + " was written in this run");
        }
        const std::vector<std::byte> bytes = content(index);
        if (format.convertsToBitmap(entry, true)) {
            const Picture picture = decodePcx(bytes);
            outcome.picture = PictureSize{picture.width, picture.height};
            folder.writeFile(outcome.fileName, encodePicture(picture, PictureFormat::Bmp));
        } else {
            folder.writeFile(outcome.fileName, bytes);
        }
        written.insert(folded);
    } catch (const ResourceError& error) {
        outcome.error = error;
        outcome.error->withEntry(entryLabel(entry, index));
    }
    return outcome;
}

std::optional<std::string> ArchiveSession::damage(std::size_t index) const {
    if (edit_) {
        return edit_->damage(index);
    }
    if (folder_) {
        return index < folder_->entries().size()
                   ? folder_->holder(index).damage(folder_->entryInArchive(index))
                   : std::nullopt;
    }
    return index < damage_.size() ? damage_[index] : std::nullopt;
}

std::size_t ArchiveSession::damagedCount() const {
    std::size_t damaged = 0;
    for (std::size_t index = 0; index < entries().size(); ++index) {
        damaged += damage(index) ? 1 : 0;
    }
    return damaged;
}

const ArchiveFormat& ArchiveSession::formatOf(std::size_t index) const {
    return folder_ ? folder_->holder(index).archive()->format() : archive_->format();
}

void ArchiveSession::keepIntact(TargetFolder& target) const {
    if (folder_) {
        folder_->keepIntact(target);
    } else {
        target.keepIntact(path_);
    }
}

bool ArchiveSession::noteDamage(std::size_t index, const std::string& what) {
    if (folder_) {
        return index < folder_->entries().size() &&
               folder_->holder(index).noteDamage(folder_->entryInArchive(index), what);
    }
    if (!edit_) {
        if (index < damage_.size()) {
            damage_[index] = what;
        }
        return true;
    }
    if (edit_->isNew(index)) {
        return false;
    }
    edit_->markDamaged(index, what);
    // Kept for the archive's entry too, for the states an undo or redo brings back.
    const std::optional<std::size_t> original = edit_->originalIndex(index);
    if (original && *original < damage_.size()) {
        damage_[*original] = what;
    }
    return true;
}

ArchiveEdit& ArchiveSession::edit() {
    if (!edit_ && !archive_) {
        // A folder's archives, or none: nothing to write back.
        throw ResourceError(ErrorKind::Unexpected, "No archive is open to edit");
    }
    if (!edit_) {
        edit_.emplace(*archive_);
        carryDamage();  // found in content read before the edit began
    }
    return *edit_;
}

void ArchiveSession::carryDamage() {
    if (!edit_) {
        return;
    }
    for (std::size_t index = 0; index < edit_->entries().size(); ++index) {
        const std::optional<std::size_t> original = edit_->originalIndex(index);
        if (original && *original < damage_.size() && damage_[*original] && !edit_->damage(index)) {
            edit_->markDamaged(index, *damage_[*original]);
        }
    }
}

void ArchiveSession::dropEdits() {
    edit_.reset();
    history_.clear();
}

void ArchiveSession::revert(EditStep step) {
    history_.record(std::move(edit_), std::move(step));
    edit_.reset();
}

std::optional<EditStep> ArchiveSession::undo() {
    std::optional<EditStep> step = history_.undo(edit_);
    if (step) {
        carryDamage();
    }
    return step;
}

std::optional<EditStep> ArchiveSession::redo() {
    std::optional<EditStep> step = history_.redo(edit_);
    if (step) {
        carryDamage();
    }
    return step;
}

}  // namespace brasvel
