// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/ArchiveEditing.h"

#include <filesystem>

#include "base/Utf8Path.h"
#include "extract/BatchExtractor.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

std::string fileNameOf(const std::string& path) {
    return platform::fileNameOfPath(path);
}

}  // namespace

std::string nameRefusal(const NameRefusal& refusal,
                        const std::function<std::string(const char*)>& translate) {
    const auto lengths = [&](const char* text) {
        return texts::fillIn(translate(text),
                             {std::to_string(refusal.length), std::to_string(refusal.most)});
    };
    switch (refusal.reason) {
        case NameRefusalReason::Empty:
            return translate(texts::kNameEmpty);
        case NameRefusalReason::NotWindows1250:
            return texts::fillIn(translate(texts::kNameNot1250), {refusal.name});
        case NameRefusalReason::HasNul:
            return translate(texts::kNameHasNul);
        case NameRefusalReason::TooLong:
            return lengths(texts::kNameTooLong);
        case NameRefusalReason::StemTooLong:
            return lengths(texts::kStemTooLong);
        case NameRefusalReason::ExtensionTooLong:
            return lengths(texts::kExtensionTooLong);
        case NameRefusalReason::ReadsBackOtherwise:
            return texts::fillIn(translate(texts::kNameReadsBack), {refusal.name, refusal.other});
        case NameRefusalReason::Taken:
            return texts::fillIn(translate(texts::kNameTaken), {refusal.name, refusal.other});
        case NameRefusalReason::UnsafeFileName:
            break;
    }
    return texts::fillIn(translate(texts::kNameUnsafe), {nameRefusalText(refusal)});
}

ArchiveEditing::ArchiveEditing(WindowToolkit& ui, ArchiveSession& session)
    : ui_(ui), session_(session) {
    saveOptions.threads = defaultThreadCount();
}

std::optional<std::string> ArchiveEditing::askName(const std::string& caption,
                                                   const std::string& label,
                                                   const std::string& initial,
                                                   std::optional<std::size_t> renamed) {
    const ArchiveEdit& edit = *session_.pending();
    const auto translate = [this](const char* source) { return text(source); };
    return ui_.askName(caption, label, initial,
                       [&](const std::string& name) -> std::optional<std::string> {
                           const std::optional<NameRefusal> refusal = edit.checkName(name, renamed);
                           if (!refusal) {
                               return std::nullopt;
                           }
                           return nameRefusal(*refusal, translate);
                       });
}

bool ArchiveEditing::saveOnce(const std::string& path, const SaveOptions& options) {
    BackgroundTask task;
    const ArchiveEdit& edit = *session_.pending();
    task.total = edit.entries().size();
    bool saved = false;
    ui_.runInBackground(
        texts::fillIn(text(texts::kSavingCaption), {fileNameOf(path)}), task, [&] {
            saved = edit.save(
                path, options,
                [&task](std::size_t done, std::size_t total) {
                    task.total = total;
                    task.done = done;
                },
                &task.cancel);
        });
    return saved;
}

bool ArchiveEditing::answerChangedOnDisk(std::string& path, SaveOptions& options,
                                         SaveOutcome& outcome) {
    outcome = SaveOutcome::NotSaved;
    switch (ui_.askChangedOnDisk(
        text(texts::kChangedOnDiskCaption),
        texts::fillIn(text(texts::kChangedOnDiskQuestion), {fileNameOf(path)}))) {
        case ChangedOnDiskAnswer::Reload:
            session_.dropEdits();
            outcome = SaveOutcome::Reload;
            return false;
        case ChangedOnDiskAnswer::SaveAs: {
            const std::optional<std::string> other =
                chooseOtherPath ? chooseOtherPath() : std::nullopt;
            if (!other) {
                return false;
            }
            path = *other;
            return true;
        }
        case ChangedOnDiskAnswer::Overwrite:
            options.overwriteChangedArchive = true;
            return true;
        case ChangedOnDiskAnswer::Cancel:
            break;
    }
    return false;
}

bool ArchiveEditing::chooseDamaged(const std::string& path, SaveOptions& options) {
    const ArchiveEdit& edit = *session_.pending();
    const std::vector<std::size_t> damaged = edit.damagedEntries();
    if (damaged.empty()) {
        return true;
    }
    constexpr std::size_t kNamed = 10;
    std::string names;
    for (std::size_t k = 0; k < damaged.size() && k < kNamed; ++k) {
        names += (k == 0 ? "" : ", ") + editName(edit.entries()[damaged[k]]);
    }
    if (damaged.size() > kNamed) {
        names += ", ...";
    }
    switch (ui_.askDamagedEntries(
        text(texts::kDamagedCaption),
        texts::fillIn(text(texts::kDamagedQuestion),
                      {fileNameOf(path), std::to_string(damaged.size()), names}))) {
        case DamagedAnswer::Keep:
            options.damaged = DamagedEntries::Keep;
            return true;
        case DamagedAnswer::Drop:
            options.damaged = DamagedEntries::Drop;
            return true;
        case DamagedAnswer::Cancel:
            break;
    }
    return false;
}

bool ArchiveEditing::confirmProtected(const ArchiveProtected& refusal, const std::string& path,
                                      SaveOptions& options) {
    const std::string question =
        refusal.why() == ArchiveProtected::Why::HardLinked
            ? texts::fillIn(text(texts::kHardLinkedQuestion),
                            {fileNameOf(path), std::to_string(refusal.links())})
            : texts::fillIn(text(texts::kWriteProtectedQuestion), {fileNameOf(path)});
    if (!ui_.askOkCancel(text(texts::kProtectedCaption), question)) {
        return false;
    }
    options.replaceProtected = true;
    return true;
}

SaveOutcome ArchiveEditing::save(std::string& path) {
    const auto translate = [this](const char* source) { return text(source); };
    SaveOptions options = saveOptions;
    if (!chooseDamaged(path, options)) {
        return SaveOutcome::NotSaved;
    }
    // Nothing is written before a refusal: each answer that lifts one tries again.
    for (;;) {
        std::string why;
        try {
            if (!saveOnce(path, options)) {
                ui_.reportNotice(text(texts::kSaveCancelled));
                return SaveOutcome::NotSaved;
            }
            session_.dropEdits();
            return SaveOutcome::Saved;
        } catch (const ArchiveChangedOnDisk&) {
            SaveOutcome outcome = SaveOutcome::NotSaved;
            if (answerChangedOnDisk(path, options, outcome)) {
                continue;
            }
            return outcome;
        } catch (const ArchiveProtected& refusal) {
            if (confirmProtected(refusal, path, options)) {
                continue;
            }
            return SaveOutcome::NotSaved;
        } catch (const ArchiveBusy&) {
            why = texts::fillIn(text(texts::kArchiveBusy), {fileNameOf(path)});
        } catch (const ArchiveIsItsOwnInput& refusal) {
            why = texts::fillIn(text(texts::kOwnInput), {refusal.input()});
        } catch (const ResourceError& error) {
            why = texts::describeError(error, translate);
            if (!error.entry().empty()) {
                why = texts::fillIn(text(texts::kEntryError), {error.entry(), why});
            }
        }
        ui_.reportError(texts::fillIn(text(texts::kSaveFailed), {path, why}));
        return SaveOutcome::NotSaved;
    }
}

bool ArchiveEditing::settleUnsaved(const std::string& path) {
    if (!session_.hasChanges()) {
        return true;
    }
    switch (ui_.askSaveChanges(text(texts::kSaveChangesCaption),
                               texts::fillIn(text(texts::kSaveChangesQuestion),
                                             {fileNameOf(path)}))) {
        case SaveAnswer::Save: {
            std::string target = path;
            return save(target) != SaveOutcome::NotSaved;
        }
        case SaveAnswer::Discard:
            session_.dropEdits();
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

}  // namespace brasvel
