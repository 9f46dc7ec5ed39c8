#include "app/Help.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace brasvel::app {
namespace {

const char* const kGeneralText =
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
    "\tMistrz Runów z Wieży";

const char* const kUsageText =
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
    "np. *.Pcx dla obrazów albo *.Def dla animacji. *.* pokazuje wszystkie pliki.\n"
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
    "odczepić od okna i przypiąć z powrotem.\n"
    "\n"
    "6. Dźwięki z plików SND odtwarzasz przyciskami odtwarzacza na końcu paska narzędzi.\n"
    "\n"
    "Pasek stanu u dołu okna pokazuje kolejno: liczbę plików w otwartym pliku zasobów, rozmiar "
    "podświetlonego pliku oraz ścieżkę otwartego pliku zasobów.\n"
    "\n"
    "Każdy przycisk ma podpowiedź - wystarczy zatrzymać nad nim kursor myszy.";

const char* const kHistoryText =
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
    "  - podgląd wszystkich plików DEF.";

QPlainTextEdit* page(const char* text, bool scrollBar) {
    auto* edit = new QPlainTextEdit(QString::fromUtf8(text));
    edit->setReadOnly(true);
    edit->setTabChangesFocus(false);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    edit->setPalette(palette);
    QFont font = edit->font();
    font.setPixelSize(13);
    edit->setFont(font);
    return edit;
}

}  // namespace

Thelp::Thelp(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Pomoc"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(528, 321);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    TabbedNotebook1 = new QTabWidget;
    RichEdit1 = page(kGeneralText, false);
    RichEdit2 = page(kUsageText, true);
    RichEdit4 = page(kHistoryText, false);
    TabbedNotebook1->addTab(RichEdit1, QStringLiteral("Ogólnie"));
    TabbedNotebook1->addTab(RichEdit2, QStringLiteral("Resource Editor"));
    TabbedNotebook1->addTab(RichEdit4, QStringLiteral("Historia"));
    TabbedNotebook1->setCurrentIndex(2);
    layout->addWidget(TabbedNotebook1);
}

}  // namespace brasvel::app
