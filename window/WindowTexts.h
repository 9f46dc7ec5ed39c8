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

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#define BRASVEL_TRANSLATE_NOOP(context, text) text

namespace brasvel {
class ResourceError;
}

namespace brasvel::texts {

inline constexpr const char* kContext = "WindowTexts";

// The status bar's panels.
inline constexpr const char* kTotalFiles = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Total Files: %1");
inline constexpr const char* kFileSize = BRASVEL_TRANSLATE_NOOP("WindowTexts", "FileSize: %1");
inline constexpr const char* kFileName = BRASVEL_TRANSLATE_NOOP("WindowTexts", "File Name : %1");
inline constexpr const char* kStoredSize = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Archive : %1");
inline constexpr const char* kPictureWidth = BRASVEL_TRANSLATE_NOOP("WindowTexts", "X: %1");
inline constexpr const char* kPictureHeight = BRASVEL_TRANSLATE_NOOP("WindowTexts", "Y: %1");

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
// Files dropped onto an open archive, which cannot take them yet.
inline constexpr const char* kCannotAddFiles = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts", "Dodawanie plików do archiwum nie jest jeszcze możliwe.");
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

// A file chosen under one kind that looks like another: %1 the file, %2 the kind chosen, %3 the
// kind it looks like.
inline constexpr const char* kOtherKindCaption =
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Inny rodzaj archiwum");
inline constexpr const char* kOtherKindQuestion = BRASVEL_TRANSLATE_NOOP(
    "WindowTexts",
    "%1 nie wygląda na archiwum %2, lecz na archiwum %3. Otworzyć je jako archiwum %3?");

// An error that belongs to one entry: %1 the entry, %2 the error.
inline constexpr const char* kEntryError = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1: %2");
// An error with the place it happened: %1 the error's text, %2 where (the core's words).
inline constexpr const char* kErrorWithDetail = BRASVEL_TRANSLATE_NOOP("WindowTexts", "%1 (%2)");

// The texts the core raises its errors with (ResourceError::text(), English). The window shows
// one of them through translate, so a translation words it its own way; a text not listed here
// (one that carries a number, "I/O error 5") is shown as raised.
inline constexpr const char* kErrorTexts[] = {
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Read beyond end of file"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "File not found"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Invalid filename"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Too many open files"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "File access denied"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Disk full"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged file"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged entry"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged picture"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Damaged sprite"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Picture too large"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "No such frame"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "No such entry"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Unsafe entry name"),
    BRASVEL_TRANSLATE_NOOP("WindowTexts", "Not enough memory"),
};

// The entry of kErrorTexts equal to `raised`, or nullptr when the table lacks it.
const char* knownErrorText(std::string_view raised);

// An error's text through `translate` when the table knows it, then where it happened as the
// core says it (kErrorWithDetail).
std::string describeError(const ResourceError& error,
                          const std::function<std::string(const char*)>& translate);

// `pattern` with %1 to %9 replaced by the arguments, in one pass: an argument that itself holds
// "%2" (an entry's name, say) is left as it is. A number without an argument stays as written.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace brasvel::texts
