// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Every text of the Qt window that the window's logic does not choose itself: the caption, menu
// items, tool tips, the status bar's first texts, the About box, the help pages and the player's
// errors. The logic's own texts (status texts, questions, the open dialog's filters) are in
// window/WindowTexts.h.
//
// Each text is marked with QT_TRANSLATE_NOOP in the context "AppTexts", so lupdate finds them all
// here, and is shown through appText(), which gives its translation once one is installed.

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

namespace brasvel::app {

// The text as the user reads it: its translation when one is installed, else the text itself.
inline QString appText(const char* text) { return QCoreApplication::translate("AppTexts", text); }

namespace texts {

inline constexpr const char* kWindowCaption =
    QT_TRANSLATE_NOOP("AppTexts", "Brasvel Resource Editor  Wersja 1.90 PL");

// --- Menus ---
// Each menu and item has an access key (&), unique within its menu: Alt+P opens "Plik".
inline constexpr const char* kFileMenu = QT_TRANSLATE_NOOP("AppTexts", "&Plik");
inline constexpr const char* kOpenItem = QT_TRANSLATE_NOOP("AppTexts", "&Otwórz plik zasobów...");
inline constexpr const char* kOpenFolderItem = QT_TRANSLATE_NOOP("AppTexts", "Otwórz &folder...");
inline constexpr const char* kArchiveOrderItem =
    QT_TRANSLATE_NOOP("AppTexts", "&Kolejność archiwów...");
inline constexpr const char* kShowShadowedItem =
    QT_TRANSLATE_NOOP("AppTexts", "Pok&aż zasłonięte");
inline constexpr const char* kExtractOneItem =
    QT_TRANSLATE_NOOP("AppTexts", "Wypakuj &pojedynczy plik...");
inline constexpr const char* kExtractAllItem =
    QT_TRANSLATE_NOOP("AppTexts", "Wypakuj &wszystkie widoczne pliki...");
inline constexpr const char* kExitItem = QT_TRANSLATE_NOOP("AppTexts", "W&yjdź z programu");
inline constexpr const char* kSavePngItem = QT_TRANSLATE_NOOP("AppTexts", "&Zapisz jako PNG...");
inline constexpr const char* kExportSpriteItem =
    QT_TRANSLATE_NOOP("AppTexts", "&Eksportuj sprite...");
inline constexpr const char* kEditMenu = QT_TRANSLATE_NOOP("AppTexts", "&Edycja");
inline constexpr const char* kAddFilesItem = QT_TRANSLATE_NOOP("AppTexts", "&Dodaj pliki...");
inline constexpr const char* kReplaceItem = QT_TRANSLATE_NOOP("AppTexts", "Za&mień...");
inline constexpr const char* kRemoveItem = QT_TRANSLATE_NOOP("AppTexts", "&Usuń");
inline constexpr const char* kRenameItem = QT_TRANSLATE_NOOP("AppTexts", "Zmień &nazwę");
inline constexpr const char* kImportSpriteItem = QT_TRANSLATE_NOOP("AppTexts", "&Importuj sprite...");
inline constexpr const char* kReplaceFrameItem = QT_TRANSLATE_NOOP("AppTexts", "Zastąp &klatkę...");
inline constexpr const char* kEditThisArchiveItem =
    QT_TRANSLATE_NOOP("AppTexts", "Edytuj &to archiwum");
inline constexpr const char* kNewArchiveItem = QT_TRANSLATE_NOOP("AppTexts", "&Nowe archiwum...");
inline constexpr const char* kEditExternallyItem =
    QT_TRANSLATE_NOOP("AppTexts", "Edytuj w innym pro&gramie...");
inline constexpr const char* kExternalProgramItem =
    QT_TRANSLATE_NOOP("AppTexts", "Program do &edycji...");
inline constexpr const char* kSaveItem = QT_TRANSLATE_NOOP("AppTexts", "Zapi&sz");
inline constexpr const char* kSaveAsItem = QT_TRANSLATE_NOOP("AppTexts", "Zapisz j&ako...");
inline constexpr const char* kRevertItem = QT_TRANSLATE_NOOP("AppTexts", "C&ofnij zmiany");
inline constexpr const char* kOptionsMenu = QT_TRANSLATE_NOOP("AppTexts", "&Opcje");
inline constexpr const char* kPreviewItem = QT_TRANSLATE_NOOP("AppTexts", "&Podgląd obrazu");
inline constexpr const char* kFolderItem =
    QT_TRANSLATE_NOOP("AppTexts", "&Wybierz ścieżkę do wypakowania plików...");
inline constexpr const char* kHelpMenu = QT_TRANSLATE_NOOP("AppTexts", "Po&moc");
inline constexpr const char* kHelpItem = QT_TRANSLATE_NOOP("AppTexts", "&Ogólna pomoc");
inline constexpr const char* kAboutItem = QT_TRANSLATE_NOOP("AppTexts", "O &programie");

// The list's context menu: the selected entry in the preview.
inline constexpr const char* kShowInPreviewItem =
    QT_TRANSLATE_NOOP("AppTexts", "P&okaż w podglądzie");

// --- Tool bar ---
inline constexpr const char* kToolBarTitle = QT_TRANSLATE_NOOP("AppTexts", "ToolBar1");
inline constexpr const char* kOpenHint = QT_TRANSLATE_NOOP("AppTexts", "Otwórz plik zasobów");
inline constexpr const char* kExtractOneHint =
    QT_TRANSLATE_NOOP("AppTexts", "Wypakuj pojedynczy plik");
inline constexpr const char* kExtractAllHint =
    QT_TRANSLATE_NOOP("AppTexts", "Wypakuj wszystkie widoczne pliki");
inline constexpr const char* kExitHint = QT_TRANSLATE_NOOP("AppTexts", "Wyjdź z programu");
inline constexpr const char* kPreviewButton = QT_TRANSLATE_NOOP("AppTexts", "Podgląd");
inline constexpr const char* kPreviewHint =
    QT_TRANSLATE_NOOP("AppTexts", "Podgląd Obrazu (plików pcx i def)");
inline constexpr const char* kTypeBoxHint = QT_TRANSLATE_NOOP("AppTexts", "Typy zasobów");
inline constexpr const char* kProgressHint = QT_TRANSLATE_NOOP("AppTexts", "Postęp");
inline constexpr const char* kPlayHint = QT_TRANSLATE_NOOP("AppTexts", "Odtwórz");
inline constexpr const char* kStopHint = QT_TRANSLATE_NOOP("AppTexts", "Zatrzymaj");

// --- The batch panel, the preview panel and the status bar ---
inline constexpr const char* kBatchPanelHint =
    QT_TRANSLATE_NOOP("AppTexts", "Panel z paskiem postępu :)");
inline constexpr const char* kBatchBarHint = QT_TRANSLATE_NOOP("AppTexts", "Pasek postępu :)");
inline constexpr const char* kPreviewTitle = QT_TRANSLATE_NOOP("AppTexts", "Obraz");
// What the six status panels show before the window's logic writes them.
inline constexpr const char* kStatusNone = QT_TRANSLATE_NOOP("AppTexts", "Brak");
inline constexpr const char* kStatusNoFile = QT_TRANSLATE_NOOP("AppTexts", "Nazwa pliku : brak");
inline constexpr const char* kStatusStoredSize = QT_TRANSLATE_NOOP("AppTexts", "Ilość");
inline constexpr const char* kStatusWidth = QT_TRANSLATE_NOOP("AppTexts", "X: 0");
inline constexpr const char* kStatusHeight = QT_TRANSLATE_NOOP("AppTexts", "Y: 0");

// --- The search box ---
inline constexpr const char* kSearchPlaceholder = QT_TRANSLATE_NOOP("AppTexts", "Szukaj nazwy…");
inline constexpr const char* kSearchHint =
    QT_TRANSLATE_NOOP("AppTexts", "Zawęża listę do nazw, które zawierają ten tekst (Ctrl+E)");
// Beside the search box: the search inside entries, and a comparison's status filter.
inline constexpr const char* kContentSearchBox = QT_TRANSLATE_NOOP("AppTexts", "w treści");
inline constexpr const char* kContentSearchHint = QT_TRANSLATE_NOOP(
    "AppTexts",
    "W treści: szuka tekstu w treści plików (Enter zaczyna); lista pokazuje pliki z tym tekstem "
    "i znaleziony wiersz");
inline constexpr const char* kContentSearchPlaceholder =
    QT_TRANSLATE_NOOP("AppTexts", "Szukaj w treści…");
inline constexpr const char* kStatusFilterHint =
    QT_TRANSLATE_NOOP("AppTexts", "Pokazuje tylko pliki o tym wyniku porównania");
// "Plik": comparison and merge.
inline constexpr const char* kCompareWithItem = QT_TRANSLATE_NOOP("AppTexts", "Po&równaj z…");
inline constexpr const char* kCloseComparisonItem =
    QT_TRANSLATE_NOOP("AppTexts", "Za&mknij porównanie");
inline constexpr const char* kExportDifferencesItem =
    QT_TRANSLATE_NOOP("AppTexts", "Eksportuj różni&ce…");
inline constexpr const char* kMergeWithItem = QT_TRANSLATE_NOOP("AppTexts", "&Scal z…");

// --- The details list, its switch on the tool bar, the recent archives ---
inline constexpr const char* kNameColumn = QT_TRANSLATE_NOOP("AppTexts", "Nazwa");
inline constexpr const char* kTypeColumn = QT_TRANSLATE_NOOP("AppTexts", "Typ");
inline constexpr const char* kSizeColumn = QT_TRANSLATE_NOOP("AppTexts", "Rozmiar");
inline constexpr const char* kStoredSizeColumn =
    QT_TRANSLATE_NOOP("AppTexts", "Rozmiar w archiwum");
inline constexpr const char* kRatioColumn = QT_TRANSLATE_NOOP("AppTexts", "Stopień");
inline constexpr const char* kOffsetColumn = QT_TRANSLATE_NOOP("AppTexts", "Położenie");
inline constexpr const char* kArchiveColumn = QT_TRANSLATE_NOOP("AppTexts", "Archiwum");
inline constexpr const char* kShadowsColumn = QT_TRANSLATE_NOOP("AppTexts", "Zasłanianie");
inline constexpr const char* kDetailsToggle = QT_TRANSLATE_NOOP("AppTexts", "Szczegóły");
inline constexpr const char* kDetailsHint = QT_TRANSLATE_NOOP(
    "AppTexts", "Przełącza listę między ikonami a szczegółami (kolumny można sortować)");
inline constexpr const char* kRecentMenu = QT_TRANSLATE_NOOP("AppTexts", "Ostatnio o&twierane");

// --- The question before a file is written over: %1 the file, %2 the folder ---
inline constexpr const char* kOverwriteCaption = QT_TRANSLATE_NOOP("AppTexts", "Plik istnieje");
inline constexpr const char* kOverwriteQuestion =
    QT_TRANSLATE_NOOP("AppTexts", "Plik %1 jest już w folderze %2. Zastąpić go?");
inline constexpr const char* kOverwriteButton = QT_TRANSLATE_NOOP("AppTexts", "Zastąp");
inline constexpr const char* kSkipButton = QT_TRANSLATE_NOOP("AppTexts", "Pomiń");
inline constexpr const char* kOverwriteAllButton =
    QT_TRANSLATE_NOOP("AppTexts", "Zastąp wszystkie");
inline constexpr const char* kSkipAllButton = QT_TRANSLATE_NOOP("AppTexts", "Pomiń wszystkie");

// --- The preview's zoom buttons and the batch panel's Cancel ---
// The sprite's playback and the preview's other pages.
inline constexpr const char* kPlayFramesHint =
    QT_TRANSLATE_NOOP("AppTexts", "Odtwarzaj klatki bloku w pętli");
inline constexpr const char* kSpeedSuffix = QT_TRANSLATE_NOOP("AppTexts", " kl./s");
inline constexpr const char* kSpeedHint =
    QT_TRANSLATE_NOOP("AppTexts", "Szybkość odtwarzania (klatek na sekundę)");
// %1 the index, %2 the colour's value.
inline constexpr const char* kSwatchText = QT_TRANSLATE_NOOP("AppTexts", "Kolor %1: %2");
inline constexpr const char* kPaletteHint =
    QT_TRANSLATE_NOOP("AppTexts", "Wskaż kolor, aby zobaczyć jego wartość");
inline constexpr const char* kPngFilter = QT_TRANSLATE_NOOP("AppTexts", "Obrazy PNG (*.png)");
inline constexpr const char* kFitButton = QT_TRANSLATE_NOOP("AppTexts", "Dopasuj");
inline constexpr const char* kFitHint =
    QT_TRANSLATE_NOOP("AppTexts", "Dopasuj obraz do panelu (0)");
inline constexpr const char* kActualSizeButton = QT_TRANSLATE_NOOP("AppTexts", "1:1");
inline constexpr const char* kActualSizeHint =
    QT_TRANSLATE_NOOP("AppTexts", "Obraz w rozmiarze rzeczywistym (1)");
inline constexpr const char* kZoomInHint = QT_TRANSLATE_NOOP("AppTexts", "Powiększ (+, kółko myszy)");
inline constexpr const char* kZoomOutHint = QT_TRANSLATE_NOOP("AppTexts", "Pomniejsz (-)");
inline constexpr const char* kCancelButton = QT_TRANSLATE_NOOP("AppTexts", "Anuluj");
// The window's title with an archive open: %1 its file name, %2 the program's caption.
inline constexpr const char* kTitleWithArchive = QT_TRANSLATE_NOOP("AppTexts", "%1 — %2");
// A sound that fails while it plays (no sound device, say): %1 the player's text.
inline constexpr const char* kSoundFailed =
    QT_TRANSLATE_NOOP("AppTexts", "Nie można odtworzyć dźwięku: %1");
inline constexpr const char* kNoSoundDevice =
    QT_TRANSLATE_NOOP("AppTexts", "Brak urządzenia dźwiękowego");

// --- Message boxes and dialogs ---
inline constexpr const char* kMessageCaption =
    QT_TRANSLATE_NOOP("AppTexts", "Brasvel Resource Editor");
inline constexpr const char* kUnknownError = QT_TRANSLATE_NOOP("AppTexts", "Unknown error");
// The answers to "Zapisać zmiany?".
inline constexpr const char* kSaveButton = QT_TRANSLATE_NOOP("AppTexts", "Zapisz");
inline constexpr const char* kDiscardButton = QT_TRANSLATE_NOOP("AppTexts", "Odrzuć");
// The question about an archive changed on disk.
inline constexpr const char* kReloadButton = QT_TRANSLATE_NOOP("AppTexts", "Wczytaj ponownie");
inline constexpr const char* kSaveAsButton = QT_TRANSLATE_NOOP("AppTexts", "Zapisz jako...");
inline constexpr const char* kSaveAnywayButton = QT_TRANSLATE_NOOP("AppTexts", "Zapisz mimo to");
// Saving an archive with damaged entries: keep their bytes as stored, or leave them out.
inline constexpr const char* kKeepButton = QT_TRANSLATE_NOOP("AppTexts", "Zachowaj");
inline constexpr const char* kLeaveOutButton = QT_TRANSLATE_NOOP("AppTexts", "Pomiń uszkodzone");
// A name dialog's OK, and what it says while the name typed is accepted.
inline constexpr const char* kOkButton = QT_TRANSLATE_NOOP("AppTexts", "OK");
// The buttons that move the item chosen in a list put in order.
inline constexpr const char* kUpButton = QT_TRANSLATE_NOOP("AppTexts", "W &górę");
inline constexpr const char* kDownButton = QT_TRANSLATE_NOOP("AppTexts", "W &dół");
// While a save is being cancelled.
inline constexpr const char* kCancelling = QT_TRANSLATE_NOOP("AppTexts", "Przerywanie...");
// A job's dialog while it runs: %1 what it does, %2 files done of %3, %4 the file it is at.
inline constexpr const char* kJobProgress = QT_TRANSLATE_NOOP("AppTexts", "%1\n%2 z %3: %4");
inline constexpr const char* kNotABitmap =
    QT_TRANSLATE_NOOP("AppTexts", "Bitmap image is not valid");
inline constexpr const char* kNotABitmapDetail =
    QT_TRANSLATE_NOOP("AppTexts", "%1 bytes could not be read as a BMP");

// --- The player ---
inline constexpr const char* kNoDevice = QT_TRANSLATE_NOOP("AppTexts", "No MCI device open");
inline constexpr const char* kNotAWave =
    QT_TRANSLATE_NOOP("AppTexts", "The file is not a wave sound");
inline constexpr const char* kNotAWaveDetail =
    QT_TRANSLATE_NOOP("AppTexts", "it does not begin with a RIFF WAVE header");
inline constexpr const char* kCannotCreate = QT_TRANSLATE_NOOP("AppTexts", "Cannot create file %1");
inline constexpr const char* kDiskFull = QT_TRANSLATE_NOOP("AppTexts", "Disk full");
inline constexpr const char* kCannotPlay =
    QT_TRANSLATE_NOOP("AppTexts", "The sound cannot be played");

// --- The About box ---
inline constexpr const char* kAboutTitle = QT_TRANSLATE_NOOP("AppTexts", "O programie...");
inline constexpr const char* kAboutProgram = QT_TRANSLATE_NOOP("AppTexts", "EDYTOR");
inline constexpr const char* kAboutMadeBy = QT_TRANSLATE_NOOP("AppTexts", "Stworzony przez ");
inline constexpr const char* kAboutMaker = QT_TRANSLATE_NOOP("AppTexts", "Mistrz Runów z Wieży");
inline constexpr const char* kAboutVersion = QT_TRANSLATE_NOOP(
    "AppTexts", "Wersja 1.90 PL, przekład polski: Bractwo Tłumaczy Pogranicza");
inline constexpr const char* kOk = QT_TRANSLATE_NOOP("AppTexts", "OK");

// --- The help window ---
inline constexpr const char* kHelpTitle = QT_TRANSLATE_NOOP("AppTexts", "Pomoc");
inline constexpr const char* kHelpGeneralTab = QT_TRANSLATE_NOOP("AppTexts", "Ogólnie");
inline constexpr const char* kHelpUsageTab = QT_TRANSLATE_NOOP("AppTexts", "Resource Editor");
inline constexpr const char* kHelpHistoryTab = QT_TRANSLATE_NOOP("AppTexts", "Historia");

inline constexpr const char* kHelpGeneral = QT_TRANSLATE_NOOP(
    "AppTexts",
    "Witaj!\n"
    "\n"
    "Brasvel Resource Editor to narzędzie dla twórców map i kampanii do gry Brasvel, a także "
    "dla wszystkich graczy, których ciekawi, z czego gra jest zbudowana: jakie ma obrazy, "
    "animacje, dźwięki, teksty i parametry.\n"
    "\n"
    "Program pozwala zajrzeć do plików zasobów gry, obejrzeć grafiki, posłuchać dźwięków i "
    "wypakować wybrane pliki na dysk, by móc ich użyć we własnych dziełach.\n"
    "\n"
    "Życzę udanych poszukiwań!\n"
    "\n"
    "\tMistrz Runów z Wieży");

inline constexpr const char* kHelpUsage = QT_TRANSLATE_NOOP(
    "AppTexts",
    "Jak korzystać z programu\n"
    "\n"
    "Program obsługuje trzy rodzaje plików zasobów: LOD (grafika, animacje, teksty, palety, "
    "czcionki i inne dane), SND (dźwięki) oraz VID (filmy).\n"
    "\n"
    "1. Plik zasobów otwierasz poleceniem \"Plik\" -> \"Otwórz plik zasobów...\" (F3) albo "
    "pierwszym przyciskiem paska narzędzi. W oknie otwierania wybierz rodzaj pliku (LOD, SND "
    "lub VID) - to on decyduje, jak plik zostanie odczytany.\n"
    "\n"
    "2. Na liście \"Typy zasobów\" na pasku narzędzi wybierasz, jakie pliki mają być widoczne, "
    "np. *.Pcx dla obrazów albo *.Def dla animacji. *.* pokazuje wszystkie pliki. Pole \"Szukaj "
    "nazwy…\" (Ctrl+E) zawęża listę do nazw, które zawierają wpisany tekst, bez względu na "
    "wielkość liter, także polskich.\n"
    "\n"
    "3. Folder, do którego trafiają wypakowane pliki, ustawiasz poleceniem \"Opcje\" -> "
    "\"Wybierz ścieżkę do wypakowania plików...\" (Ctrl+F). Jeśli go nie wybierzesz, pliki "
    "trafią do folderu, w którym leży otwarty plik zasobów.\n"
    "\n"
    "4. \"Wypakuj pojedynczy plik...\" (F2) zapisuje podświetlony plik, a \"Wypakuj wszystkie "
    "widoczne pliki...\" (Ctrl+F2) - wszystkie pliki widoczne na liście. Obrazy PCX są przy "
    "tym zamieniane na pliki BMP.\n"
    "\n"
    "5. Przycisk \"Podgląd\" (lub Ctrl+Z) otwiera panel \"Obraz\", w którym widać podświetlone "
    "grafiki .pcx i .def. Klatki animacji .def przełączasz suwakiem pod obrazem. Panel można "
    "odczepić od okna i przypiąć z powrotem. Enter na pliku z listy pokazuje go w tym panelu; "
    "dźwięki mają tam wykres fali, czcionki swoje znaki, a maski siatkę pól.\n"
    "\n"
    "6. Dźwięki z plików SND odtwarzasz przyciskami odtwarzacza na końcu paska narzędzi.\n"
    "\n"
    "7. Menu \"Edycja\" zmienia plik zasobów (polecenia dla zaznaczonych plików są też pod prawym "
    "przyciskiem myszy na liście): "
    "\"Dodaj pliki...\" (albo przeciągnij pliki na listę), \"Zamień...\" (nowa zawartość "
    "podświetlonego pliku), \"Usuń\" (Del), \"Zmień nazwę\" (Ctrl+R). Zmiany widać od razu "
    "(zmienione pliki kursywą, gwiazdka w tytule), ale na dysk trafiają dopiero po \"Zapisz\" "
    "(Ctrl+S) lub \"Zapisz jako...\" (Ctrl+Shift+S); \"Cofnij zmiany\" je odrzuca. \"Cofnij\" "
    "(Alt+Backspace) i \"Ponów\" (Ctrl+Y) cofają i ponawiają zmiany po jednej, aż do pliku "
    "otwartego lub ostatnio zapisanego. Nieudany lub przerwany zapis zostawia plik zasobów "
    "nietknięty.\n"
    "\n"
    "Pasek stanu u dołu okna pokazuje kolejno: liczbę plików w otwartym pliku zasobów, rozmiar "
    "podświetlonego pliku oraz ścieżkę otwartego pliku zasobów.\n"
    "\n"
    "Każdy przycisk ma podpowiedź - wystarczy zatrzymać nad nim kursor myszy.");

inline constexpr const char* kHelpHistory = QT_TRANSLATE_NOOP(
    "AppTexts",
    "Historia wersji\n"
    "\n"
    "Wersja 1.0 Beta\n"
    "  - pierwsze wydanie: przeglądanie i wypakowywanie plików LOD, SND i VID.\n"
    "\n"
    "Wersja 1.1\n"
    "  - podgląd obrazów 8-bitowych.\n"
    "\n"
    "Wersja 1.2\n"
    "  - lepsza obsługa plików LOD z dodatku do gry.\n"
    "\n"
    "Wersja 1.3\n"
    "  - przyspieszenie wczytywania i wypakowywania.\n"
    "\n"
    "Wersja 1.4\n"
    "  - kolejne przyspieszenia,\n"
    "  - podgląd wszystkich obrazów,\n"
    "  - odtwarzanie dźwięków WAV.\n"
    "\n"
    "Wersja 1.55\n"
    "  - podgląd części plików DEF,\n"
    "  - okno programu można zmaksymalizować.\n"
    "\n"
    "Wersja 1.60\n"
    "  - podgląd wszystkich plików DEF.");

// --- The preview's video page ---
inline constexpr const char* kVideoPlayHint =
    QT_TRANSLATE_NOOP("AppTexts", "Odtwórz / wstrzymaj film (spacja)");
inline constexpr const char* kVideoBackHint =
    QT_TRANSLATE_NOOP("AppTexts", "Poprzednia klatka (przecinek)");
inline constexpr const char* kVideoForwardHint =
    QT_TRANSLATE_NOOP("AppTexts", "Następna klatka (kropka)");
inline constexpr const char* kVideoSliderHint =
    QT_TRANSLATE_NOOP("AppTexts", "Położenie w filmie");

}  // namespace texts
}  // namespace brasvel::app
