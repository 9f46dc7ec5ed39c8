// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The texts of the window's commands over two archives (comparison, its patch, merge) and of the
// search inside entries: a part of the window's text table (WindowTexts.h), in its context.

#include "window/WindowTexts.h"

namespace brasvel::texts {

// Comparison. The open archive is the old one, the other archive the new one.
inline constexpr const char* kCompareCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Porównaj z archiwum");
inline constexpr const char* kCompareColumn = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Porównanie");
inline constexpr const char* kStatusNew = BRASVEL_TRANSLATE_NOOP("WindowTexts", "nowe");
inline constexpr const char* kStatusRemoved = BRASVEL_TRANSLATE_NOOP("WindowTexts", "usunięte");
inline constexpr const char* kStatusChanged = BRASVEL_TRANSLATE_NOOP("WindowTexts", "zmienione");
inline constexpr const char* kStatusSame = BRASVEL_TRANSLATE_NOOP("WindowTexts", "bez zmian");
inline constexpr const char* kStatusUnreadable =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nieczytelne");
// The comparison's job: %1 the other archive's file name.
inline constexpr const char* kComparing =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Porównywanie z %1...");
inline constexpr const char* kComparisonCancelled =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przerwano porównanie.");
// A status filter's item: %1 the status, %2 how many entries have it.
inline constexpr const char* kFilterItem = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 (%2)");
// The status filter's first item: every status.
inline constexpr const char* kStatusEvery = BRASVEL_TRANSLATE_NOOP("WindowTexts", "wszystkie");
// %1 the other archive, %2 its kind, %3 the open archive's kind.
inline constexpr const char* kOtherKindRefused = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 jest archiwum %2, a otwarte archiwum %3: porównać i scalić można tylko archiwa jednego "
    "rodzaju.");
// %1 the other archive, %2 why its directory cannot be read whole.
inline constexpr const char* kOtherDamaged = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Katalogu archiwum %1 nie da się odczytać w całości (%2).");
// Entries that could not be read: %1 each one, a line each ("ARCHIWUM: PLIK: powód").
inline constexpr const char* kUnreadableEntries =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie udało się odczytać niektórych plików:\n%1");
// The side-by-side preview's titles: %1 the archive's file name.
inline constexpr const char* kOldSide = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Stare: %1");
inline constexpr const char* kNewSide = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nowe: %1");
// The old side of an entry only the new archive holds.
inline constexpr const char* kAbsentSide =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "(nie ma go w tym archiwum)");

// The patch of a comparison.
inline constexpr const char* kExportDifferencesCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Eksportuj różnice");
inline constexpr const char* kPatchOverCompared = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Różnic nie można zapisać w miejsce porównywanego archiwum (%1).");
inline constexpr const char* kNoDifferences =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwa się nie różnią: nie ma czego eksportować.");
inline constexpr const char* kWritingPatch =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisywanie różnic do %1...");
// %1 the patch's file name, %2 how many entries it holds.
inline constexpr const char* kPatchWritten =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisano %1: plików %2.");
// After kPatchWritten: %1 the entries only the open archive holds, one a line.
inline constexpr const char* kPatchKeepsRemoved = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Scalenie z tym archiwum nie usuwa plików, których nie ma w nowym:\n%1");
inline constexpr const char* kPatchCancelled =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przerwano: nie zapisano różnic.");

// Merge. The job that reads what a merge brings: %1 the other archive's file name.
inline constexpr const char* kReadingMerged =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Czytanie %1...");
inline constexpr const char* kMergeCancelled =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przerwano scalanie: niczego nie zmieniono.");
inline constexpr const char* kMergeCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Scal z archiwum");
// %1 the entry, %2 the other archive's file name.
inline constexpr const char* kConflictQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Plik %1 jest w obu archiwach z inną treścią. Zostawić jego wersję z otwartego archiwum czy "
    "wziąć ją z %2?");
inline constexpr const char* kKeepButton = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zostaw");
inline constexpr const char* kTakeButton = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Weź");
inline constexpr const char* kKeepAllButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zostaw wszystkie");
inline constexpr const char* kTakeAllButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Weź wszystkie");
inline constexpr const char* kNothingToMerge = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 nie wnosi nic nowego: otwarte archiwum ma już wszystkie jego pliki.");
// The undo step: %1 the other archive's file name.
inline constexpr const char* kMergeStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "scal z %1");
// %1 the other archive, %2 entries added, %3 entries replaced.
inline constexpr const char* kMerged =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Scalono z %1: dodano %2, zastąpiono %3 (do zapisania).");

// Search inside entries.
inline constexpr const char* kSearchingContent =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Szukanie „%1” w treści plików...");
inline constexpr const char* kFoundColumn = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Znalezione");
// A text entry's first line found: %1 its number, %2 the line; %3 how many more lines hold it.
inline constexpr const char* kFoundLine = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1: %2");
inline constexpr const char* kFoundLineMore =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1: %2   (i %3 więcej)");
inline constexpr const char* kFoundBinary =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "dane binarne zawierają tekst");
inline constexpr const char* kTextNotInCodePage = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Tekstu „%1” nie da się zapisać w kodowaniu Windows-1250 plików archiwum.");
inline constexpr const char* kSearchCancelled =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przerwano szukanie „%1”: przeszukano %2 z %3 plików.");

}  // namespace brasvel::texts
