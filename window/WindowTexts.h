// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Every text that the window's logic shows: status texts, questions, notices and the way an error
// names its entry. One table, so that a translation is a file and not a hunt through handlers.
//
// The window's logic knows no Qt, so its texts are marked with BRASVEL_TRANSLATE_NOOP, which is
// the literal itself. Qt's lupdate reads the mark as QT_TRANSLATE_NOOP when told so:
//
//   lupdate -tr-function-alias QT_TRANSLATE_NOOP+=BRASVEL_TRANSLATE_NOOP window app -ts FILE.ts
//
// and files every text under the context "WindowTexts". The logic passes each text through
// WindowToolkit::translate before it shows it, and only then fills in numbers and names (%1, %2),
// so that a translation may put them where its language wants them. The Qt toolkit looks texts up
// with QCoreApplication::translate; the headless one shows them as written.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/ResourceError.h"

#define BRASVEL_TRANSLATE_NOOP(context, text) text

namespace brasvel::texts {

inline constexpr const char* kContext = "WindowTexts";

// The status bar's panels.
inline constexpr const char* kTotalFiles = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Total Files: %1");
inline constexpr const char* kFileSize = BRASVEL_TRANSLATE_NOOP("WindowTexts", "FileSize: %1");
inline constexpr const char* kFileName = BRASVEL_TRANSLATE_NOOP("WindowTexts", "File Name : %1");
inline constexpr const char* kStoredSize = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archive : %1");
inline constexpr const char* kPictureWidth = BRASVEL_TRANSLATE_NOOP("WindowTexts", "X: %1");
inline constexpr const char* kPictureHeight = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Y: %1");

// The count panel while the type box or the search narrows the list: %1 its usual text
// (kTotalFiles), %2 the rows listed, %3 the entries the list can show.
inline constexpr const char* kListedCount =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1   (na liście %2 z %3)");
// The details list's figures: the separator of thousands ("1 234 567") and a ratio (%1 percent).
inline constexpr const char* kThousandsSeparator = BRASVEL_TRANSLATE_NOOP("WindowTexts", " ");
inline constexpr const char* kPercent = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1%");
// "Wypakuj pojedynczy plik..." while several rows are selected: %1 how many files it writes.
inline constexpr const char* kExtractSelectedItem =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Wy&pakuj zaznaczone pliki (%1)...");

// %1 the entries the archive states, %2 the entries the list shows.
inline constexpr const char* kListCut = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Archiwum zawiera %1 plików; lista pokazuje pierwsze %2.");

// The question before extracting every shown entry.
inline constexpr const char* kQuestionCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Are you sure?");
inline constexpr const char* kToolbarBatchQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Extract may be long operation  !");
inline constexpr const char* kMenuLodBatchQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "It may be long operation :)");
inline constexpr const char* kMenuBatchQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "It Is long operation :)");

// The caption of the extraction folder's chooser.
inline constexpr const char* kFolderCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Select Directory");

// A game folder open as one list. The folder chooser's caption; the title (%1 the folder's name,
// %2 its archives, %3 the names listed); the file name panel (%1 the folder's path, %2 its
// archives, %3 the copies shadowed); the details list's marks of a copy that shadows %1 others and
// of one shadowed; the archives that could not be read (%1 each, a line each, with why).
inline constexpr const char* kOpenFolderCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Otwórz folder gry");
inline constexpr const char* kFolderTitle =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 (archiwa: %2, pliki: %3)");
inline constexpr const char* kFolderStatus =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Folder: %1 (archiwa: %2, zasłonięte kopie: %3)");
inline constexpr const char* kShadowsMark = BRASVEL_TRANSLATE_NOOP("WindowTexts", "zasłania: %1");
inline constexpr const char* kShadowedMark = BRASVEL_TRANSLATE_NOOP("WindowTexts", "zasłonięty");
inline constexpr const char* kFolderTroubles = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Niektórych archiwów folderu nie można odczytać:\n%1");
// An editing command while a folder is open.
inline constexpr const char* kFolderNotEditable = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Folderu nie można edytować. Wybierz „Edytuj to archiwum”, aby otworzyć archiwum "
    "zaznaczonego pliku.");
// "Kolejność archiwów...": its caption and what it says above the list.
inline constexpr const char* kArchiveOrderCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Kolejność archiwów");
inline constexpr const char* kArchiveOrderText = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Plik o tej samej nazwie w kilku archiwach pochodzi z archiwum wyżej na liście.");

// A sprite without frames cannot set the frame scroll bar's range.
inline constexpr const char* kNoFrames =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Scrollbar property out of range");

// The open dialog's filter of each archive format, by the format's name; the dialog shows the
// format's pattern after it: "Pliki zaosbów LOD (*.Lod)". A format missing here is offered under
// its name in capitals.
struct FilterText {
    std::string_view format;
    const char* text;
};
inline constexpr FilterText kOpenFilters[] = {
    {"lod", BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pliki zaosbów LOD")},
    {"snd", BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pliki zasobów dźwiękowych")},
    {"vid", BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pliki zaosbów video Files")},
};

// The summary after extracting many entries: %1 written, %2 chosen, %3 the folder.
inline constexpr const char* kBatchSummary =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Wypakowano %1 z %2 plików do %3");
// Added after the summary when entries failed: %1 how many, %2 their names.
inline constexpr const char* kBatchFailures =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie udało się wypakować (%1): %2");
// Ends the list of failed entries when it is too long to show whole: %1 how many more.
inline constexpr const char* kBatchMoreFailures =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "i %1 innych");
// Added after the summary when the user pressed Cancel.
inline constexpr const char* kBatchCancelled =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przerwano na życzenie użytkownika.");

// Added after the summary when existing files were left as they were: %1 how many.
inline constexpr const char* kBatchSkipped =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pominięto istniejące pliki: %1.");

// A recent archive that is no longer there: %1 its path.
inline constexpr const char* kRecentMissing = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Nie ma już pliku %1; usunięto go z listy ostatnio otwieranych.");
// A dropped file that is no archive: %1 its path.
inline constexpr const char* kNotAnArchive = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 nie jest archiwum LOD, SND ani VID.");
// Several files dropped while no archive is open.
inline constexpr const char* kDropOneArchive = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Upuść jeden plik archiwum, aby go otworzyć.");
// Entries dragged out that could not be written: %1 their names and reasons.
inline constexpr const char* kDragFailures =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie udało się wypakować: %1");

// The preview and the picture-size panels when there is no picture to show.
inline constexpr const char* kNoSelection =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie wybrano pliku.");
inline constexpr const char* kNoPicture =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1: brak podglądu dla tego rodzaju pliku.");
inline constexpr const char* kNoPictureWidth = BRASVEL_TRANSLATE_NOOP("WindowTexts", "X: -");
inline constexpr const char* kNoPictureHeight = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Y: -");

// The sprite's frame row: %1 the frame, %2 the frames, %3 the block's position (from 0, as the
// sprite export names its files), %4 the frame within its block, %5 the block's frames.
inline constexpr const char* kFrameCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "klatka %1 / %2   blok %3 (%4 / %5)");
// Above a text or hex page that shows only the start of an entry: %1 and %2 in KB.
inline constexpr const char* kPartShown =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pokazano pierwsze %1 KB z %2 KB.");

// Saving the picture shown and exporting a sprite.
inline constexpr const char* kSavePngCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisz jako PNG");
// %1 the file, %2 × %3 the picture's size.
inline constexpr const char* kPictureSaved =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisano %1 (%2 × %3).");
// %1 the path chosen.
inline constexpr const char* kNotOverArchive = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Nie zapisano: %1 to otwarte archiwum. Wybierz inną nazwę.");
inline constexpr const char* kExportFolderCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Wybierz folder dla eksportu sprite'a");
// How the export writes the frames: %1 the sprite.
inline constexpr const char* kExportPaletteQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Jak zapisać klatki %1? Przezroczyste pokazują sprite jak gra; z paletą bez zmian zachowują "
    "indeksy i kolory znaczników, dokładnie do ponownego importu.");
inline constexpr const char* kExportShownButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przezroczyste");
inline constexpr const char* kExportKeepPaletteButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Z paletą bez zmian");
inline constexpr const char* kFilesExistCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pliki istnieją");
// %1 how many files exist, %2 the files of the export, %3 the folder.
inline constexpr const char* kReplaceExportQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 z %2 plików eksportu już istnieje w %3. Zastąpić je?");
// %1 the files written, %2 the sprite, %3 the folder, %4 frames, %5 blocks.
inline constexpr const char* kSpriteExported = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Zapisano %1 plików sprite'a %2 do %3: %4 klatek w %5 blokach, arkusz, animacje i opis.");

// A file chosen under one kind that looks like another: %1 the file, %2 the kind chosen, %3 the
// kind it looks like.
inline constexpr const char* kOtherKindCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Inny rodzaj archiwum");
inline constexpr const char* kOtherKindQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 nie wygląda na archiwum %2, lecz na archiwum %3. Otworzyć je jako archiwum %3?");

// Undo and redo: the "Edycja" menu's items, plain when there is nothing to undo or redo, else
// naming the step (%1, one of the steps below).
inline constexpr const char* kUndoItem = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Cofnij");
inline constexpr const char* kRedoItem = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Ponów");
inline constexpr const char* kUndoStepItem = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Cofnij: %1");
inline constexpr const char* kRedoStepItem = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Ponów: %1");
// The steps: %1 an entry's name, %2 its new name. Several files added, %1 how many: 2 to 4 (and
// 22 to 24, ...), then the rest.
inline constexpr const char* kAddStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "dodaj %1");
inline constexpr const char* kAddFewStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "dodaj %1 pliki");
inline constexpr const char* kAddManyStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "dodaj %1 plików");
inline constexpr const char* kReplaceStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "zastąp %1");
inline constexpr const char* kRemoveStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "usuń %1");
inline constexpr const char* kRenameStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "zmień nazwę %1 na %2");
inline constexpr const char* kRevertStep = BRASVEL_TRANSLATE_NOOP("WindowTexts", "odrzuć zmiany");

// Editing. The title of an archive with unsaved edits: %1 its file name.
inline constexpr const char* kUnsavedTitle = BRASVEL_TRANSLATE_NOOP("WindowTexts", "*%1");
inline constexpr const char* kAddFilesCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Dodaj pliki do archiwum");
// %1 the entry whose content is replaced.
inline constexpr const char* kReplaceCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zamień zawartość %1 plikiem");
inline constexpr const char* kRenameCaption = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zmień nazwę");
// %1 the entry's present name.
inline constexpr const char* kRenameLabel =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nowa nazwa dla %1:");
// A file added under a name the archive refuses: %1 the file.
inline constexpr const char* kAddNameCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nazwa w archiwum");
inline constexpr const char* kAddNameLabel =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pod jaką nazwą dodać plik %1?");
// A file added under the name of an entry already there: %1 the name.
inline constexpr const char* kReplaceQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Archiwum ma już plik %1. Zastąpić jego zawartość?");
// A sound archive holds WAV files only: %1 the file refused.
inline constexpr const char* kOnlyWavFiles = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1: do archiwum dźwięków można dodać tylko pliki .wav");
// A PNG or BMP file added to a LOD: %1 the file, %2 the picture's entry name; the buttons, %1 the
// suffix of the game's picture (".pcx"), of the file as it is (".png", ".bmp").
inline constexpr const char* kStoreAsPcxQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 to obraz PNG/BMP. Zapisać go w archiwum jako obraz gry %2, czy bez zmian?");
inline constexpr const char* kAsGamePictureButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Jako obraz gry (%1)");
inline constexpr const char* kUnchangedButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Bez zmian (%1)");
inline constexpr const char* kCancelChoiceButton = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Anuluj");
// A picture of more than 256 colours stored as the game's picture: %1 the file, %2 the entry.
inline constexpr const char* kStoredAs24Bits = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 ma więcej niż 256 kolorów: zapisano go jako 24-bitowy obraz gry %2 (bez palety).");
// Importing a sprite: %1 the export's folder, %2 the selected sprite.
inline constexpr const char* kImportSpriteCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Wybierz folder eksportu sprite'a");
inline constexpr const char* kImportSpriteQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Zaimportować sprite z %1 w miejsce %2, czy dodać go jako nowy plik?");
inline constexpr const char* kReplaceSpriteButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zastąp %1");
inline constexpr const char* kAddAsNewButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Dodaj jako nowy");
inline constexpr const char* kImportSpriteStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "importuj sprite %1");
// Replacing one frame: %1 the frame's number, %2 the sprite.
inline constexpr const char* kReplaceFrameCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Obraz (PNG, BMP) na klatkę %1 sprite'a %2");
inline constexpr const char* kReplaceFrameStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "zastąp klatkę %1 w %2");
inline constexpr const char* kFrameNotPicture = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1: klatkę można zastąpić tylko obrazem .png lub .bmp");
// Editing in another program: %1 the file the other program has.
inline constexpr const char* kExternalCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Edycja w innym programie");
inline constexpr const char* kExternalChangedQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik %1 został zmieniony. Uaktualnić archiwum?");
inline constexpr const char* kYesButton = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Tak");
inline constexpr const char* kYesAlwaysButton =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Tak, zawsze dla tego pliku");
inline constexpr const char* kNoButton = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie");
// %1 the file, %2 why it does not fit.
inline constexpr const char* kExternalNotTaken = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Nie uaktualniono archiwum plikiem %1: %2. Archiwum się nie zmieniło.");
inline constexpr const char* kExternalNotOpened = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Nie udało się otworzyć %1 w innym programie.");
// %1 the entry.
inline constexpr const char* kExternalStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "zmiana %1 w innym programie");
// %1 the files still open in other programs.
inline constexpr const char* kExternalOpenQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "W innych programach są wciąż otwarte: %1. Zmiany zapisane w nich później nie trafią do "
    "archiwum. Zamknąć mimo to?");
inline constexpr const char* kExternalProgramCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Program do edycji");
inline constexpr const char* kExternalProgramLabel = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Wiersz polecenia programu, który otwiera wpisy (ścieżka pliku dochodzi na końcu); pusty: "
    "program, który system kojarzy z typem pliku.");
// A new archive; %1 the path chosen, where a file already is.
inline constexpr const char* kNewArchiveCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nowe archiwum");
inline constexpr const char* kNewArchiveQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Jakiego rodzaju archiwum utworzyć?");
inline constexpr const char* kNewArchiveExists = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 już istnieje; nowe archiwum nie zastępuje innego pliku.");
// Recovery after a crash: %1 the archive, %2 the journal's path, %3 why.
inline constexpr const char* kRecoveryCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Niezapisane zmiany");
inline constexpr const char* kRecoveryQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Przywrócić niezapisane zmiany archiwum %1?");
inline constexpr const char* kRecoveryStep =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "przywróć niezapisane zmiany");
inline constexpr const char* kRecoveryArchiveChanged = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Archiwum %1 zmieniło się od czasu tych zmian, więc nie zostały przywrócone. Dziennik "
    "zachowano: %2");
inline constexpr const char* kRecoveryDamaged = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Dziennik zmian %2 jest uszkodzony (%3); zachowano go, niczego nie zmieniono.");
inline constexpr const char* kJournalFailed = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Nie można zapisać dziennika niezapisanych zmian %2: %3");
// %1 the archive's file name.
inline constexpr const char* kRevertCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Cofnij zmiany");
inline constexpr const char* kRevertQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Odrzucić wszystkie niezapisane zmiany w %1?");
inline constexpr const char* kSaveChangesCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisać zmiany?");
inline constexpr const char* kSaveChangesQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Archiwum %1 ma niezapisane zmiany. Zapisać je?");
inline constexpr const char* kSaveAsCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisz archiwum jako");
// Saving as a name given without an extension, whose name with it is taken: %1 that name.
inline constexpr const char* kReplaceArchiveQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik %1 już istnieje. Zastąpić go?");
// Damaged entries. The file name panel of an archive with some: %1 its usual text, %2 how many.
inline constexpr const char* kDamagedStatus =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1   (uszkodzone pliki: %2)");
inline constexpr const char* kDamagedCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Uszkodzone pliki");
// Before saving: %1 the archive, %2 how many damaged entries, %3 their names.
inline constexpr const char* kDamagedQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Archiwum %1 ma uszkodzone pliki (%2): %3. Zachować ich bajty tak, jak są zapisane, czy "
    "pominąć je w zapisanym archiwum?");
// %1 the file being written.
inline constexpr const char* kSavingCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Zapisywanie %1...");
inline constexpr const char* kChangedOnDiskCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum zmienione na dysku");
inline constexpr const char* kChangedOnDiskQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 zmieniło się na dysku, odkąd zostało otwarte. Wczytać je ponownie (niezapisane zmiany "
    "przepadną), zapisać zmiany pod inną nazwą czy zapisać mimo to, tracąc tamte zmiany?");
// %1 the archive's file name.
inline constexpr const char* kArchiveBusy = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 jest właśnie zmieniane przez inny program; spróbuj ponownie, gdy skończy.");
inline constexpr const char* kProtectedCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum chronione");
// %1 the archive's file name, %2 how many names it has.
inline constexpr const char* kHardLinkedQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 ma %2 nazwy (twarde dowiązania). Zapisanie da tej nazwie nowy plik, a pozostałe zachowają "
    "stare archiwum. Zapisać mimo to?");
inline constexpr const char* kWriteProtectedQuestion =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 jest chronione przed zapisem. Zastąpić je mimo to?");
inline constexpr const char* kOwnInput =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 to samo archiwum: nie może być dodane do siebie.");
// %1 the file, %2 why.
inline constexpr const char* kSaveFailed = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "Nie zapisano %1: %2\nArchiwum na dysku jest bez zmian, a zmiany zostają w oknie: spróbuj "
    "ponownie albo użyj „Zapisz jako...”.");
inline constexpr const char* kSaveCancelled = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Zapisywanie przerwane: archiwum na dysku jest bez zmian.");
// %1 why the archive cannot be written back.
inline constexpr const char* kNotEditable =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Tego archiwum nie można edytować: %1");

// Why a name is refused, in the user's words, by the writer's reason (see nameRefusal).
inline constexpr const char* kNameEmpty = BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa jest pusta");
// %1 the length in characters, %2 the most allowed.
inline constexpr const char* kNameTooLong =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa za długa: %1 znaków, najwyżej %2");
inline constexpr const char* kStemTooLong = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "nazwa przed rozszerzeniem za długa: %1 znaków, najwyżej %2");
inline constexpr const char* kExtensionTooLong =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "rozszerzenie za długie: %1 znaków, najwyżej %2");
// %1 the name typed, %2 the entry that has it.
inline constexpr const char* kNameTaken =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa zajęta: w archiwum jest już %2");
inline constexpr const char* kNameNot1250 =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa ma znak spoza Windows-1250: %1");
inline constexpr const char* kNameReadsBack =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa zostałaby odczytana jako %2");
inline constexpr const char* kNameHasNul =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa zawiera bajt 0x00");
// %1 the writer's reason, as it words it.
inline constexpr const char* kNameUnsafe =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "nazwa niebezpieczna jako nazwa pliku: %1");
// The preview's video page. Its figures: %1 × %2 the size, %3 frames a second, %4 frames, %5 the
// length (kVideoTime); then what is heard.
inline constexpr const char* kVideoFigures = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "%1 × %2 pikseli, %3 kl./s, klatek: %4, czas %5");
// %1 samples a second, %2 channels.
inline constexpr const char* kVideoSound =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "dźwięk %1 Hz, kanały: %2");
inline constexpr const char* kVideoSilent = BRASVEL_TRANSLATE_NOOP("WindowTexts", "bez dźwięku");
// The sound cannot be played (no device, a damaged sound stream); the picture plays on. %1 why.
inline constexpr const char* kVideoSoundFailed =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "dźwięk niedostępny: %1");
// Beside the position slider: frame %1 of %2, at %3 of %4 (kVideoTime).
inline constexpr const char* kVideoPosition =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Klatka %1 z %2 (%3 / %4)");
// A time: %1 minutes, %2 seconds (two digits), %3 tenths.
inline constexpr const char* kVideoTime = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1:%2,%3");
// A number with one decimal: %1 the whole part, %2 the tenths (a frame rate of 12,5).
inline constexpr const char* kDecimal = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1,%2");

// The preview of a sound, above its waveform: %1 its format (kSoundPcm, else kSoundFormat with
// the format's number), %2 samples a second, %3 channels, %4 bits a sample, %5 its length
// (kVideoTime).
inline constexpr const char* kSoundFigures = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Dźwięk %1, %2 Hz, kanały: %3, %4 bit, czas %5");
inline constexpr const char* kSoundPcm = BRASVEL_TRANSLATE_NOOP("WindowTexts", "PCM");
inline constexpr const char* kSoundFormat = BRASVEL_TRANSLATE_NOOP("WindowTexts", "w formacie %1");
// Play with no sound device: said once a run, then after the sound's figures.
inline constexpr const char* kNoSoundDevice =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Brak urządzenia dźwiękowego");
// %1 the figures, %2 kNoSoundDevice.
inline constexpr const char* kSoundUnheard = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 — %2");
// A font's glyphs: %1 how many, %2 × %3 their size in pixels, %4 the first one's character code.
inline constexpr const char* kFontFigures = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Czcionka: %1 znaków %2 × %3 pikseli, od kodu %4");
// A mask's cells: %1 × %2 cells, %3 layers.
inline constexpr const char* kMaskFigures =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Maska: %1 × %2 pól, warstwy: %3");

// An error that belongs to one entry: %1 the entry, %2 the error.
inline constexpr const char* kEntryError = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1: %2");
// An error with the place it happened: %1 the error's text, %2 where (the core's words).
inline constexpr const char* kErrorWithDetail = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 (%2)");

// The window's words for the core's errors, by kind. The texts that were always shown in English
// ("Read beyond end of file", "Damaged entry") stay English in the Polish window too; the others
// are worded in Polish like the rest of the window. FileFailure's and Unexpected's %1 is the text
// raised (the system's or a library's words). A Worded error is the window's own, shown as raised.
struct ErrorText {
    ErrorKind kind;
    const char* text;
};
inline constexpr ErrorText kErrorTexts[] = {
    {ErrorKind::ReadBeyondEnd, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Read beyond end of file")},
    {ErrorKind::FileNotFound, BRASVEL_TRANSLATE_NOOP("WindowTexts", "File not found")},
    {ErrorKind::InvalidFileName, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Invalid filename")},
    {ErrorKind::TooManyOpenFiles, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Too many open files")},
    {ErrorKind::FileAccessDenied, BRASVEL_TRANSLATE_NOOP("WindowTexts", "File access denied")},
    {ErrorKind::DiskFull, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Disk full")},
    {ErrorKind::DamagedFile, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged file")},
    {ErrorKind::DamagedEntry, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged entry")},
    {ErrorKind::DamagedPicture, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged picture")},
    {ErrorKind::DamagedSprite, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged sprite")},
    {ErrorKind::PictureTooLarge, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Picture too large")},
    {ErrorKind::NoSuchFrame, BRASVEL_TRANSLATE_NOOP("WindowTexts", "No such frame")},
    {ErrorKind::NoSuchEntry, BRASVEL_TRANSLATE_NOOP("WindowTexts", "No such entry")},
    {ErrorKind::UnsafeEntryName, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Unsafe entry name")},
    {ErrorKind::NotEnoughMemory, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not enough memory")},
    {ErrorKind::NotAVideo, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not a video")},
    {ErrorKind::DamagedVideo, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged video")},
    {ErrorKind::VideoTooLarge, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Video too large")},
    {ErrorKind::FrameNotFound, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Frame not found")},
    {ErrorKind::NoSound, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Video has no sound")},
    {ErrorKind::VideoUnavailable,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Video decoding is not available")},
    {ErrorKind::AmbiguousName, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Ambiguous name")},
    {ErrorKind::DamagedEntries, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged entries")},
    {ErrorKind::NotLodArchive, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not a LOD archive")},
    {ErrorKind::NotSndArchive, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not an SND archive")},
    {ErrorKind::NotVidArchive, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not a VID archive")},
    {ErrorKind::FileFailure, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Błąd pliku: %1")},
    {ErrorKind::FileExists, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik już istnieje")},
    {ErrorKind::FilesExist, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pliki już istnieją")},
    {ErrorKind::FileTooLarge, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik za duży")},
    {ErrorKind::FileChanged,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik zmienił się podczas odczytu")},
    {ErrorKind::ArchiveChanged,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum zmieniło się podczas odczytu")},
    {ErrorKind::NotAnArchive, BRASVEL_TRANSLATE_NOOP("WindowTexts", "To nie jest archiwum")},
    {ErrorKind::OtherKindOfArchive,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum innego rodzaju")},
    {ErrorKind::NameWrittenInRun,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Plik o tej nazwie już zapisano w tym wypakowaniu")},
    {ErrorKind::NameRefused, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nazwa odrzucona")},
    {ErrorKind::EmptyEntry, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pusty plik w archiwum")},
    {ErrorKind::ArchiveTooLarge, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum za duże")},
    {ErrorKind::CannotCompress, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można skompresować")},
    {ErrorKind::InvalidCompressionLevel,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nieprawidłowy poziom kompresji")},
    {ErrorKind::ArchiveInUse, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum w użyciu")},
    {ErrorKind::ArchiveChangedOnDisk,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum zmienione na dysku")},
    {ErrorKind::ArchiveProtected, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum chronione")},
    {ErrorKind::OwnInput,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archiwum nie może być własnym plikiem wejściowym")},
    {ErrorKind::UnsupportedPictureFormat,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nieobsługiwany format obrazu")},
    {ErrorKind::EmptyPicture, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Pusty obraz")},
    {ErrorKind::UnsupportedBitDepth,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nieobsługiwana głębia kolorów")},
    {ErrorKind::TooManyColours, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Za dużo kolorów")},
    {ErrorKind::UnsupportedBmp, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nieobsługiwany plik BMP")},
    {ErrorKind::DamagedBmp, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Uszkodzony plik BMP")},
    {ErrorKind::CannotReadPng, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można odczytać PNG")},
    {ErrorKind::CannotWritePng, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można zapisać PNG")},
    {ErrorKind::EmptyPng,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można zapisać pustego obrazu jako PNG")},
    {ErrorKind::AnimationWithoutFrames,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można zapisać animacji bez klatek")},
    {ErrorKind::UnequalFrames,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można zapisać animacji z różnych klatek")},
    {ErrorKind::DamagedPng, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Uszkodzony plik PNG")},
    {ErrorKind::SpriteTooLarge, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Sprite za duży")},
    {ErrorKind::PaletteMismatch, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Niezgodne palety")},
    {ErrorKind::FrameNotIndexed, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Klatka nie ma palety")},
    {ErrorKind::FrameSizeMismatch,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Niezgodny rozmiar klatki")},
    {ErrorKind::CannotWriteSprite,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nie można zapisać sprite'a")},
    {ErrorKind::DamagedSpriteListing,
     BRASVEL_TRANSLATE_NOOP("WindowTexts", "Uszkodzony opis sprite'a")},
    {ErrorKind::Unexpected, BRASVEL_TRANSLATE_NOOP("WindowTexts", "Nieoczekiwany błąd: %1")},
};

// The window's text for errors of `kind`, untranslated; nullptr for Worded.
const char* errorText(ErrorKind kind);

// An error's text in the window's words through `translate` (see kErrorTexts), then where it
// happened as the core says it (kErrorWithDetail).
std::string describeError(const ResourceError& error,
                          const std::function<std::string(const char*)>& translate);

// `value` in groups of three digits parted by `separator` ("-1 234 567").
std::string groupedNumber(std::int64_t value, std::string_view separator);

// `pattern` with %1 to %9 replaced by the arguments, in one pass: an argument that itself holds
// "%2" (an entry's name, say) is left as it is. A number without an argument stays as written.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace brasvel::texts
