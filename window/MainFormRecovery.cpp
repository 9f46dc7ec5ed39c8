// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Pending edits journalled as they are made, and offered back after a crash (the journal's form
// and rules are edit/EditJournal.h's).

#include <cstdio>
#include <filesystem>

#include "archive/ArchiveFormat.h"
#include "base/Platform.h"
#include "base/Utf8Path.h"
#include "edit/EditJournal.h"
#include "edit/StoredContent.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalSuffix = ".journal";
// A journal is read whole; one larger than this is not one this window wrote.
constexpr std::uint64_t kLargestJournal = std::uint64_t{8} << 30;

}  // namespace

std::string MainForm::journalPathOf(const std::string& archivePath) const {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : archivePath) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return platform::utf8Path(platform::fileSystemPath(recoveryFolder_) /
                              (std::string(name) + std::string(kJournalSuffix)));
}

void MainForm::journalEdits() {
    if (recoveryFolder_.empty()) {
        return;
    }
    const Archive* archive = session_.archive();
    const ArchiveEdit* edit = session_.pending();
    std::error_code error;
    if (archive == nullptr || edit == nullptr || !edit->hasChanges()) {
        if (!journalled_.empty()) {
            fs::remove(platform::fileSystemPath(journalled_), error);
            journalled_.clear();
        }
        return;
    }
    const std::string path = journalPathOf(session_.path());
    try {
        fs::create_directories(platform::fileSystemPath(recoveryFolder_), error);
        const EditJournal journal{session_.path(), std::string(archive->format().name),
                                  static_cast<std::uint64_t>(platform::currentProcess()),
                                  lookOf(session_.path(), *archive), journalRows(*edit)};
        writeSyncedFile(path, writeJournal(journal));
        if (!journalled_.empty() && journalled_ != path) {
            fs::remove(platform::fileSystemPath(journalled_), error);
        }
        journalled_ = path;
    } catch (const ResourceError& failure) {
        if (!journalFailed_) {
            journalFailed_ = true;
            ui_.reportError(texts::fillIn(text(texts::kJournalFailed),
                                          {session_.path(), path, describe(failure)}));
        }
    }
}

void MainForm::offerRecovery() {
    if (recoveryFolder_.empty()) {
        return;
    }
    std::error_code error;
    std::vector<std::string> journals;
    for (const fs::directory_entry& item :
         fs::directory_iterator(platform::fileSystemPath(recoveryFolder_), error)) {
        const std::string path = platform::utf8Path(item.path());
        if (path.ends_with(kJournalSuffix) && path != journalled_) {
            journals.push_back(path);
        }
    }
    for (const std::string& journalPath : journals) {
        guarded([&] {
            EditJournal journal;
            try {
                const std::optional<std::vector<std::byte>> file =
                    readFileUpTo(journalPath, kLargestJournal);
                if (!file) {
                    throw ResourceError(ErrorKind::DamagedFile, "edit journal: too large");
                }
                journal = readJournal(*file);
            } catch (const ResourceError& failure) {
                ui_.reportError(texts::fillIn(text(texts::kRecoveryDamaged),
                                              {"", journalPath, describe(failure)}));
                return;
            }
            const long writer = static_cast<long>(journal.process);
            if (writer != platform::currentProcess() && platform::processRuns(writer)) {
                return;  // the window that wrote it still runs: its edits are its own
            }
            if (!ui_.askOkCancel(text(texts::kRecoveryCaption),
                                 texts::fillIn(text(texts::kRecoveryQuestion),
                                               {journal.archivePath}))) {
                fs::remove(platform::fileSystemPath(journalPath), error);
                return;
            }
            const ArchiveFormat* format = formatNamed(journal.kind);
            if (format == nullptr || !settleExternalEdits() ||
                !editing_.settleUnsaved(session_.path())) {
                return;
            }
            openAs(journal.archivePath, *format);
            const Archive* archive = session_.archive();
            if (archive == nullptr || session_.path() != journal.archivePath ||
                !session_.editable() ||
                lookOf(journal.archivePath, *archive) != journal.look) {
                ui_.reportError(texts::fillIn(text(texts::kRecoveryArchiveChanged),
                                              {journal.archivePath, journalPath}));
                return;
            }
            EditState before = session_.state();
            const std::optional<std::string> selected = selectedName();
            applyJournal(journal.rows, beginEdit());
            session_.record(std::move(before), {text(texts::kRecoveryStep), selected, selected});
            showEdited(selected);
            if (journalled_ != journalPath) {  // journalled again under this path: one journal
                fs::remove(platform::fileSystemPath(journalPath), error);
            }
        });
    }
}

}  // namespace brasvel
