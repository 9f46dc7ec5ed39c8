<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="pl_PL">
<context>
    <name>AppTexts</name>
    <message>
        <source>Brasvel Resource Editor  Wersja 1.90 PL</source>
        <translation>Brasvel Resource Editor  Version 1.90</translation>
    </message>
    <message>
        <source>Wyjdź z programu</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Pomoc</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ToolBar1</source>
        <translation>ToolBar1</translation>
    </message>
    <message>
        <source>Otwórz plik zasobów</source>
        <translation>Open resource file</translation>
    </message>
    <message>
        <source>Wypakuj pojedynczy plik</source>
        <translation>Extract single file</translation>
    </message>
    <message>
        <source>Wypakuj wszystkie widoczne pliki</source>
        <translation>Extract all visible files</translation>
    </message>
    <message>
        <source>Podgląd</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Podgląd Obrazu (plików pcx i def)</source>
        <translation>Picture preview (pcx and def files)</translation>
    </message>
    <message>
        <source>Typy zasobów</source>
        <translation>Resource types</translation>
    </message>
    <message>
        <source>Postęp</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Odtwórz</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Zatrzymaj</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Panel z paskiem postępu :)</source>
        <translation>Panel with a progress bar :)</translation>
    </message>
    <message>
        <source>Pasek postępu :)</source>
        <translation>Progress bar :)</translation>
    </message>
    <message>
        <source>Obraz</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Brak</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Nazwa pliku : brak</source>
        <translation>File Name : none</translation>
    </message>
    <message>
        <source>Ilość</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>X: 0</source>
        <translation>X: 0</translation>
    </message>
    <message>
        <source>Y: 0</source>
        <translation>Y: 0</translation>
    </message>
    <message>
        <source>Brasvel Resource Editor</source>
        <translation>Brasvel Resource Editor</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Bitmap image is not valid</source>
        <translation>Bitmap image is not valid</translation>
    </message>
    <message>
        <source>%1 bytes could not be read as a BMP</source>
        <translation>%1 bytes could not be read as a BMP</translation>
    </message>
    <message>
        <source>No MCI device open</source>
        <translation>No MCI device open</translation>
    </message>
    <message>
        <source>The file is not a wave sound</source>
        <translation>The file is not a wave sound</translation>
    </message>
    <message>
        <source>it does not begin with a RIFF WAVE header</source>
        <translation>it does not begin with a RIFF WAVE header</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Cannot create file %1</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Disk full</translation>
    </message>
    <message>
        <source>The sound cannot be played</source>
        <translation>The sound cannot be played</translation>
    </message>
    <message>
        <source>O programie...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>EDYTOR</source>
        <translation>EDITOR</translation>
    </message>
    <message>
        <source>Stworzony przez </source>
        <translation>Made by </translation>
    </message>
    <message>
        <source>Mistrz Runów z Wieży</source>
        <translation>the Rune Master of the Tower</translation>
    </message>
    <message>
        <source>Wersja 1.90 PL, przekład polski: Bractwo Tłumaczy Pogranicza</source>
        <translation>Version 1.90, English translation of the Polish edition</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Ogólnie</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Resource Editor</source>
        <translation>Resource Editor</translation>
    </message>
    <message>
        <source>Historia</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Witaj!

Brasvel Resource Editor to narzędzie dla twórców map i kampanii do gry Brasvel, a także dla wszystkich graczy, których ciekawi, z czego gra jest zbudowana: jakie ma obrazy, animacje, dźwięki, teksty i parametry.

Program pozwala zajrzeć do plików zasobów gry, obejrzeć grafiki, posłuchać dźwięków i wypakować wybrane pliki na dysk, by móc ich użyć we własnych dziełach.

Życzę udanych poszukiwań!

	Mistrz Runów z Wieży</source>
        <translation>Welcome!

Brasvel Resource Editor is a tool for makers of maps and campaigns for the game Brasvel, and for every player who wonders what the game is built of: its pictures, animations, sounds, texts and parameters.

The program lets you look into the game&apos;s resource files, view pictures, listen to sounds and extract chosen files to disk, to use them in your own works.

Happy searching!

	the Rune Master of the Tower</translation>
    </message>
    <message>
        <source>Historia wersji

Wersja 1.0 Beta
  - pierwsze wydanie: przeglądanie i wypakowywanie plików LOD, SND i VID.

Wersja 1.1
  - podgląd obrazów 8-bitowych.

Wersja 1.2
  - lepsza obsługa plików LOD z dodatku do gry.

Wersja 1.3
  - przyspieszenie wczytywania i wypakowywania.

Wersja 1.4
  - kolejne przyspieszenia,
  - podgląd wszystkich obrazów,
  - odtwarzanie dźwięków WAV.

Wersja 1.55
  - podgląd części plików DEF,
  - okno programu można zmaksymalizować.

Wersja 1.60
  - podgląd wszystkich plików DEF.</source>
        <translation>Version history

Version 1.0 Beta
  - first release: browsing and extracting LOD, SND and VID files.

Version 1.1
  - preview of 8-bit pictures.

Version 1.2
  - better handling of the LOD files of the game&apos;s expansion.

Version 1.3
  - faster loading and extraction.

Version 1.4
  - more speed-ups,
  - preview of all pictures,
  - playing WAV sounds.

Version 1.55
  - preview of some DEF files,
  - the program&apos;s window can be maximised.

Version 1.60
  - preview of all DEF files.</translation>
    </message>
    <message>
        <source>Dopasuj</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>Dopasuj obraz do panelu (0)</source>
        <translation>Fit the picture to the panel (0)</translation>
    </message>
    <message>
        <source>1:1</source>
        <translation>1:1</translation>
    </message>
    <message>
        <source>Obraz w rozmiarze rzeczywistym (1)</source>
        <translation>The picture at its actual size (1)</translation>
    </message>
    <message>
        <source>Powiększ (+, kółko myszy)</source>
        <translation>Zoom in (+, mouse wheel)</translation>
    </message>
    <message>
        <source>Pomniejsz (-)</source>
        <translation>Zoom out (-)</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Nie można odtworzyć dźwięku: %1</source>
        <translation>The sound cannot be played: %1</translation>
    </message>
    <message>
        <source>Brak urządzenia dźwiękowego</source>
        <translation>No sound device</translation>
    </message>
    <message>
        <source>Szukaj nazwy…</source>
        <translation>Search names…</translation>
    </message>
    <message>
        <source>Zawęża listę do nazw, które zawierają ten tekst (Ctrl+E)</source>
        <translation>Narrows the list to the names that contain this text (Ctrl+E)</translation>
    </message>
    <message>
        <source>Odtwarzaj klatki bloku w pętli</source>
        <translation>Play the block&apos;s frames in a loop</translation>
    </message>
    <message>
        <source> kl./s</source>
        <translation> fps</translation>
    </message>
    <message>
        <source>Szybkość odtwarzania (klatek na sekundę)</source>
        <translation>Playback speed (frames per second)</translation>
    </message>
    <message>
        <source>Kolor %1: %2</source>
        <translation>Colour %1: %2</translation>
    </message>
    <message>
        <source>Wskaż kolor, aby zobaczyć jego wartość</source>
        <translation>Point at a colour to see its value</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Zapisz jako...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Odrzuć</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Przerywanie...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>Odtwórz / wstrzymaj film (spacja)</source>
        <translation>Play / pause the video (space)</translation>
    </message>
    <message>
        <source>Poprzednia klatka (przecinek)</source>
        <translation>Previous frame (comma)</translation>
    </message>
    <message>
        <source>Następna klatka (kropka)</source>
        <translation>Next frame (full stop)</translation>
    </message>
    <message>
        <source>Położenie w filmie</source>
        <translation>Position in the video</translation>
    </message>
    <message>
        <source>Obrazy PNG (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Rozmiar</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Rozmiar w archiwum</source>
        <translation>Stored size</translation>
    </message>
    <message>
        <source>Stopień</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>Położenie</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Szczegóły</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Przełącza listę między ikonami a szczegółami (kolumny można sortować)</source>
        <translation>Switches the list between icons and details (the columns sort)</translation>
    </message>
    <message>
        <source>Plik istnieje</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>Plik %1 jest już w folderze %2. Zastąpić go?</source>
        <translation>%1 is already in the folder %2. Replace it?</translation>
    </message>
    <message>
        <source>Zastąp</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Pomiń</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Zastąp wszystkie</source>
        <translation>Replace all</translation>
    </message>
    <message>
        <source>Pomiń wszystkie</source>
        <translation>Skip all</translation>
    </message>
    <message>
        <source>Wczytaj ponownie</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Zapisz mimo to</source>
        <translation>Save anyway</translation>
    </message>
    <message>
        <source>Zachowaj</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>Pomiń uszkodzone</source>
        <translation>Leave them out</translation>
    </message>
    <message>
        <source>%1
%2 z %3: %4</source>
        <translation>%1
%2 of %3: %4</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Otwórz plik zasobów...</source>
        <translation>&amp;Open resource file...</translation>
    </message>
    <message>
        <source>Wypakuj &amp;pojedynczy plik...</source>
        <translation>Extract &amp;single file...</translation>
    </message>
    <message>
        <source>Wypakuj &amp;wszystkie widoczne pliki...</source>
        <translation>Extract &amp;all visible files...</translation>
    </message>
    <message>
        <source>W&amp;yjdź z programu</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Zapisz jako PNG...</source>
        <translation>Save as &amp;PNG...</translation>
    </message>
    <message>
        <source>&amp;Eksportuj sprite...</source>
        <translation>&amp;Export sprite...</translation>
    </message>
    <message>
        <source>&amp;Edycja</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Dodaj pliki...</source>
        <translation>&amp;Add files...</translation>
    </message>
    <message>
        <source>Za&amp;mień...</source>
        <translation>Repla&amp;ce...</translation>
    </message>
    <message>
        <source>&amp;Usuń</source>
        <translation>Re&amp;move</translation>
    </message>
    <message>
        <source>Zmień &amp;nazwę</source>
        <translation>Re&amp;name</translation>
    </message>
    <message>
        <source>Zapi&amp;sz</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Zapisz j&amp;ako...</source>
        <translation>Sa&amp;ve as...</translation>
    </message>
    <message>
        <source>C&amp;ofnij zmiany</source>
        <translation>Rever&amp;t changes</translation>
    </message>
    <message>
        <source>&amp;Opcje</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Podgląd obrazu</source>
        <translation>&amp;Picture preview</translation>
    </message>
    <message>
        <source>&amp;Wybierz ścieżkę do wypakowania plików...</source>
        <translation>&amp;Choose the folder to extract files to...</translation>
    </message>
    <message>
        <source>Po&amp;moc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Ogólna pomoc</source>
        <translation>&amp;General help</translation>
    </message>
    <message>
        <source>O &amp;programie</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>P&amp;okaż w podglądzie</source>
        <translation>Show in pre&amp;view</translation>
    </message>
    <message>
        <source>Ostatnio o&amp;twierane</source>
        <translation>&amp;Recent archives</translation>
    </message>
    <message>
        <source>Jak korzystać z programu

Program obsługuje trzy rodzaje plików zasobów: LOD (grafika, animacje, teksty, palety, czcionki i inne dane), SND (dźwięki) oraz VID (filmy).

1. Plik zasobów otwierasz poleceniem &quot;Plik&quot; -&gt; &quot;Otwórz plik zasobów...&quot; (F3) albo pierwszym przyciskiem paska narzędzi. W oknie otwierania wybierz rodzaj pliku (LOD, SND lub VID) - to on decyduje, jak plik zostanie odczytany.

2. Na liście &quot;Typy zasobów&quot; na pasku narzędzi wybierasz, jakie pliki mają być widoczne, np. *.Pcx dla obrazów albo *.Def dla animacji. *.* pokazuje wszystkie pliki. Pole &quot;Szukaj nazwy…&quot; (Ctrl+E) zawęża listę do nazw, które zawierają wpisany tekst, bez względu na wielkość liter, także polskich.

3. Folder, do którego trafiają wypakowane pliki, ustawiasz poleceniem &quot;Opcje&quot; -&gt; &quot;Wybierz ścieżkę do wypakowania plików...&quot; (Ctrl+F). Jeśli go nie wybierzesz, pliki trafią do folderu, w którym leży otwarty plik zasobów.

4. &quot;Wypakuj pojedynczy plik...&quot; (F2) zapisuje podświetlony plik, a &quot;Wypakuj wszystkie widoczne pliki...&quot; (Ctrl+F2) - wszystkie pliki widoczne na liście. Obrazy PCX są przy tym zamieniane na pliki BMP.

5. Przycisk &quot;Podgląd&quot; (lub Ctrl+Z) otwiera panel &quot;Obraz&quot;, w którym widać podświetlone grafiki .pcx i .def. Klatki animacji .def przełączasz suwakiem pod obrazem. Panel można odczepić od okna i przypiąć z powrotem. Enter na pliku z listy pokazuje go w tym panelu; dźwięki mają tam wykres fali, czcionki swoje znaki, a maski siatkę pól.

6. Dźwięki z plików SND odtwarzasz przyciskami odtwarzacza na końcu paska narzędzi.

7. Menu &quot;Edycja&quot; zmienia plik zasobów (polecenia dla zaznaczonych plików są też pod prawym przyciskiem myszy na liście): &quot;Dodaj pliki...&quot; (albo przeciągnij pliki na listę), &quot;Zamień...&quot; (nowa zawartość podświetlonego pliku), &quot;Usuń&quot; (Del), &quot;Zmień nazwę&quot; (Ctrl+R). Zmiany widać od razu (zmienione pliki kursywą, gwiazdka w tytule), ale na dysk trafiają dopiero po &quot;Zapisz&quot; (Ctrl+S) lub &quot;Zapisz jako...&quot; (Ctrl+Shift+S); &quot;Cofnij zmiany&quot; je odrzuca. &quot;Cofnij&quot; (Alt+Backspace) i &quot;Ponów&quot; (Ctrl+Y) cofają i ponawiają zmiany po jednej, aż do pliku otwartego lub ostatnio zapisanego. Nieudany lub przerwany zapis zostawia plik zasobów nietknięty.

Pasek stanu u dołu okna pokazuje kolejno: liczbę plików w otwartym pliku zasobów, rozmiar podświetlonego pliku oraz ścieżkę otwartego pliku zasobów.

Każdy przycisk ma podpowiedź - wystarczy zatrzymać nad nim kursor myszy.</source>
        <translation>How to use the program

The program handles three kinds of resource files: LOD (pictures, animations, texts, palettes, fonts and other data), SND (sounds) and VID (videos).

1. Open a resource file with &quot;File&quot; -&gt; &quot;Open resource file...&quot; (F3) or with the first button of the tool bar. In the open dialog choose the kind of file (LOD, SND or VID): it decides how the file is read.

2. In the list &quot;Resource types&quot; on the tool bar choose which files are shown, e.g. *.Pcx for pictures or *.Def for animations. *.* shows every file. The box &quot;Search names…&quot; (Ctrl+E) narrows the list to the names that hold the text typed, in any case of their letters, Polish ones too.

3. Set the folder that extracted files go to with &quot;Options&quot; -&gt; &quot;Choose the folder to extract files to...&quot; (Ctrl+F). If you choose none, files go to the folder that holds the open resource file.

4. &quot;Extract single file...&quot; (F2) saves the highlighted file, and &quot;Extract all visible files...&quot; (Ctrl+F2) every file shown in the list. PCX pictures are turned into BMP files on the way.

5. The button &quot;Preview&quot; (or Ctrl+Z) opens the panel &quot;Picture&quot;, which shows the highlighted .pcx and .def pictures. Step through the frames of a .def animation with the scroll bar under the picture. The panel can be undocked from the window and docked again. Enter on a file of the list shows it in this panel; sounds show their waveform there, fonts their glyphs and masks their cells.

6. Play the sounds of SND files with the player&apos;s buttons at the end of the tool bar.

7. The menu &quot;Edit&quot; changes the resource file (the commands for the selected files are also under the right mouse button over the list): &quot;Add files...&quot; (or drag files onto the list), &quot;Replace...&quot; (new content for the highlighted file), &quot;Remove&quot; (Del), &quot;Rename&quot; (Ctrl+R). Changes show at once (changed files in italics, an asterisk in the title) but reach the disk only with &quot;Save&quot; (Ctrl+S) or &quot;Save as...&quot; (Ctrl+Shift+S); &quot;Revert changes&quot; drops them. &quot;Undo&quot; (Alt+Backspace) and &quot;Redo&quot; (Ctrl+Y) take changes back and do them again one at a time, back to the file as opened or last saved. A failed or cancelled save leaves the resource file untouched.

The status bar at the bottom of the window shows, in turn: the number of files in the open resource file, the size of the highlighted file and the path of the open resource file.

Every button has a hint: just rest the mouse pointer over it.</translation>
    </message>
    <message>
        <source>&amp;Importuj sprite...</source>
        <translation>&amp;Import sprite...</translation>
    </message>
    <message>
        <source>Zastąp &amp;klatkę...</source>
        <translation>Replace &amp;frame...</translation>
    </message>
    <message>
        <source>&amp;Nowe archiwum...</source>
        <translation>&amp;New archive...</translation>
    </message>
    <message>
        <source>Edytuj w innym pro&amp;gramie...</source>
        <translation>Edit in &amp;another program...</translation>
    </message>
    <message>
        <source>Program do &amp;edycji...</source>
        <translation>&amp;Editing program...</translation>
    </message>
    <message>
        <source>Otwórz &amp;folder...</source>
        <translation>Open &amp;folder...</translation>
    </message>
    <message>
        <source>&amp;Kolejność archiwów...</source>
        <translation>Archive or&amp;der...</translation>
    </message>
    <message>
        <source>Pok&amp;aż zasłonięte</source>
        <translation>Show s&amp;hadowed</translation>
    </message>
    <message>
        <source>Edytuj &amp;to archiwum</source>
        <translation>Edit this arc&amp;hive</translation>
    </message>
    <message>
        <source>Archiwum</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Zasłanianie</source>
        <translation>Shadowing</translation>
    </message>
    <message>
        <source>W &amp;górę</source>
        <translation>&amp;Up</translation>
    </message>
    <message>
        <source>W &amp;dół</source>
        <translation>&amp;Down</translation>
    </message>
    <message>
        <source>w treści</source>
        <translation>in content</translation>
    </message>
    <message>
        <source>W treści: szuka tekstu w treści plików (Enter zaczyna); lista pokazuje pliki z tym tekstem i znaleziony wiersz</source>
        <translation>In content: searches the files&apos; content for the text (Enter starts); the list shows the files holding it and the line found</translation>
    </message>
    <message>
        <source>Szukaj w treści…</source>
        <translation>Search content…</translation>
    </message>
    <message>
        <source>Pokazuje tylko pliki o tym wyniku porównania</source>
        <translation>Shows only the files with this comparison result</translation>
    </message>
    <message>
        <source>Po&amp;równaj z…</source>
        <translation>&amp;Compare with…</translation>
    </message>
    <message>
        <source>Za&amp;mknij porównanie</source>
        <translation>Close compar&amp;ison</translation>
    </message>
    <message>
        <source>Eksportuj różni&amp;ce…</source>
        <translation>Expor&amp;t differences…</translation>
    </message>
    <message>
        <source>&amp;Scal z…</source>
        <translation>&amp;Merge with…</translation>
    </message>
</context>
<context>
    <name>WindowTexts</name>
    <message>
        <source>Total Files: %1</source>
        <translation>Total Files: %1</translation>
    </message>
    <message>
        <source>FileSize: %1</source>
        <translation>FileSize: %1</translation>
    </message>
    <message>
        <source>File Name : %1</source>
        <translation>File Name : %1</translation>
    </message>
    <message>
        <source>Archive : %1</source>
        <translation>Archive : %1</translation>
    </message>
    <message>
        <source>X: %1</source>
        <translation>X: %1</translation>
    </message>
    <message>
        <source>Y: %1</source>
        <translation>Y: %1</translation>
    </message>
    <message>
        <source>Archiwum zawiera %1 plików; lista pokazuje pierwsze %2.</source>
        <translation>The archive holds %1 files; the list shows the first %2.</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Are you sure?</translation>
    </message>
    <message>
        <source>Extract may be long operation  !</source>
        <translation>Extract may be long operation  !</translation>
    </message>
    <message>
        <source>It may be long operation :)</source>
        <translation>It may be long operation :)</translation>
    </message>
    <message>
        <source>It Is long operation :)</source>
        <translation>It Is long operation :)</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Select Directory</translation>
    </message>
    <message>
        <source>Scrollbar property out of range</source>
        <translation>Scrollbar property out of range</translation>
    </message>
    <message>
        <source>Pliki zaosbów LOD</source>
        <translation>LOD resource files</translation>
    </message>
    <message>
        <source>Pliki zasobów dźwiękowych</source>
        <translation>Sound resource files</translation>
    </message>
    <message>
        <source>Pliki zaosbów video Files</source>
        <translation>Video resource files</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Read beyond end of file</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Invalid filename</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>File access denied</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Disk full</translation>
    </message>
    <message>
        <source>Damaged file</source>
        <translation>Damaged file</translation>
    </message>
    <message>
        <source>Damaged entry</source>
        <translation>Damaged entry</translation>
    </message>
    <message>
        <source>Damaged picture</source>
        <translation>Damaged picture</translation>
    </message>
    <message>
        <source>Damaged sprite</source>
        <translation>Damaged sprite</translation>
    </message>
    <message>
        <source>Picture too large</source>
        <translation>Picture too large</translation>
    </message>
    <message>
        <source>No such frame</source>
        <translation>No such frame</translation>
    </message>
    <message>
        <source>No such entry</source>
        <translation>No such entry</translation>
    </message>
    <message>
        <source>Unsafe entry name</source>
        <translation>Unsafe entry name</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>Not enough memory</translation>
    </message>
    <message>
        <source>Wypakowano %1 z %2 plików do %3</source>
        <translation>Extracted %1 of %2 files to %3</translation>
    </message>
    <message>
        <source>Nie udało się wypakować (%1): %2</source>
        <translation>Could not extract (%1): %2</translation>
    </message>
    <message>
        <source>i %1 innych</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>Przerwano na życzenie użytkownika.</source>
        <translation>Stopped at the user&apos;s request.</translation>
    </message>
    <message>
        <source>Nie wybrano pliku.</source>
        <translation>No file selected.</translation>
    </message>
    <message>
        <source>%1: brak podglądu dla tego rodzaju pliku.</source>
        <translation>%1: no preview for this kind of file.</translation>
    </message>
    <message>
        <source>X: -</source>
        <translation>X: -</translation>
    </message>
    <message>
        <source>Y: -</source>
        <translation>Y: -</translation>
    </message>
    <message>
        <source>Inny rodzaj archiwum</source>
        <translation>Another kind of archive</translation>
    </message>
    <message>
        <source>%1 nie wygląda na archiwum %2, lecz na archiwum %3. Otworzyć je jako archiwum %3?</source>
        <translation>%1 does not look like a %2 archive but like a %3 archive. Open it as a %3 archive?</translation>
    </message>
    <message>
        <source>klatka %1 / %2   blok %3 (%4 / %5)</source>
        <translation>frame %1 / %2   block %3 (%4 / %5)</translation>
    </message>
    <message>
        <source>Pokazano pierwsze %1 KB z %2 KB.</source>
        <translation>Showing the first %1 KB of %2 KB.</translation>
    </message>
    <message>
        <source>Zapisz jako PNG</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>Zapisano %1 (%2 × %3).</source>
        <translation>Saved %1 (%2 × %3).</translation>
    </message>
    <message>
        <source>Nie zapisano: %1 to otwarte archiwum. Wybierz inną nazwę.</source>
        <translation>Not saved: %1 is the open archive. Choose another name.</translation>
    </message>
    <message>
        <source>Wybierz folder dla eksportu sprite&apos;a</source>
        <translation>Choose a folder for the sprite&apos;s export</translation>
    </message>
    <message>
        <source>Pliki istnieją</source>
        <translation>Files exist</translation>
    </message>
    <message>
        <source>%1 z %2 plików eksportu już istnieje w %3. Zastąpić je?</source>
        <translation>%1 of the export&apos;s %2 files already exist in %3. Replace them?</translation>
    </message>
    <message>
        <source>*%1</source>
        <translation>*%1</translation>
    </message>
    <message>
        <source>Dodaj pliki do archiwum</source>
        <translation>Add files to the archive</translation>
    </message>
    <message>
        <source>Zamień zawartość %1 plikiem</source>
        <translation>Replace the content of %1 with a file</translation>
    </message>
    <message>
        <source>Zmień nazwę</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Nowa nazwa dla %1:</source>
        <translation>New name for %1:</translation>
    </message>
    <message>
        <source>Nazwa w archiwum</source>
        <translation>Name in the archive</translation>
    </message>
    <message>
        <source>Pod jaką nazwą dodać plik %1?</source>
        <translation>Under what name should %1 be added?</translation>
    </message>
    <message>
        <source>Archiwum ma już plik %1. Zastąpić jego zawartość?</source>
        <translation>The archive already has %1. Replace its content?</translation>
    </message>
    <message>
        <source>%1: do archiwum dźwięków można dodać tylko pliki .wav</source>
        <translation>%1: only .wav files can be added to a sound archive</translation>
    </message>
    <message>
        <source>Cofnij zmiany</source>
        <translation>Revert changes</translation>
    </message>
    <message>
        <source>Odrzucić wszystkie niezapisane zmiany w %1?</source>
        <translation>Discard every unsaved change to %1?</translation>
    </message>
    <message>
        <source>Zapisać zmiany?</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>Archiwum %1 ma niezapisane zmiany. Zapisać je?</source>
        <translation>The archive %1 has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>Zapisz archiwum jako</source>
        <translation>Save the archive as</translation>
    </message>
    <message>
        <source>Zapisywanie %1...</source>
        <translation>Saving %1...</translation>
    </message>
    <message>
        <source>Archiwum zmienione na dysku</source>
        <translation>Archive changed on disk</translation>
    </message>
    <message>
        <source>Nie zapisano %1: %2
Archiwum na dysku jest bez zmian, a zmiany zostają w oknie: spróbuj ponownie albo użyj „Zapisz jako...”.</source>
        <translation>%1 was not saved: %2
The archive on disk is unchanged and the changes stay in the window: try again or use “Save as...”.</translation>
    </message>
    <message>
        <source>Zapisywanie przerwane: archiwum na dysku jest bez zmian.</source>
        <translation>Saving cancelled: the archive on disk is unchanged.</translation>
    </message>
    <message>
        <source>Tego archiwum nie można edytować: %1</source>
        <translation>This archive cannot be edited: %1</translation>
    </message>
    <message>
        <source>nazwa jest pusta</source>
        <translation>the name is empty</translation>
    </message>
    <message>
        <source>nazwa za długa: %1 znaków, najwyżej %2</source>
        <translation>name too long: %1 characters, at most %2</translation>
    </message>
    <message>
        <source>nazwa przed rozszerzeniem za długa: %1 znaków, najwyżej %2</source>
        <translation>name before the extension too long: %1 characters, at most %2</translation>
    </message>
    <message>
        <source>rozszerzenie za długie: %1 znaków, najwyżej %2</source>
        <translation>extension too long: %1 characters, at most %2</translation>
    </message>
    <message>
        <source>nazwa zajęta: w archiwum jest już %2</source>
        <translation>name taken: the archive already has %2</translation>
    </message>
    <message>
        <source>nazwa ma znak spoza Windows-1250: %1</source>
        <translation>the name has a character outside Windows-1250: %1</translation>
    </message>
    <message>
        <source>nazwa zostałaby odczytana jako %2</source>
        <translation>the name would read back as %2</translation>
    </message>
    <message>
        <source>nazwa zawiera bajt 0x00</source>
        <translation>the name contains the byte 0x00</translation>
    </message>
    <message>
        <source>nazwa niebezpieczna jako nazwa pliku: %1</source>
        <translation>the name is unsafe as a file name: %1</translation>
    </message>
    <message>
        <source>%1 × %2 pikseli, %3 kl./s, klatek: %4, czas %5</source>
        <translation>%1 × %2 pixels, %3 frames/s, %4 frames, length %5</translation>
    </message>
    <message>
        <source>dźwięk %1 Hz, kanały: %2</source>
        <translation>sound %1 Hz, channels: %2</translation>
    </message>
    <message>
        <source>bez dźwięku</source>
        <translation>no sound</translation>
    </message>
    <message>
        <source>dźwięk niedostępny: %1</source>
        <translation>sound unavailable: %1</translation>
    </message>
    <message>
        <source>Klatka %1 z %2 (%3 / %4)</source>
        <translation>Frame %1 of %2 (%3 / %4)</translation>
    </message>
    <message>
        <source>%1:%2,%3</source>
        <translation>%1:%2.%3</translation>
    </message>
    <message>
        <source>Not a video</source>
        <translation>Not a video</translation>
    </message>
    <message>
        <source>Damaged video</source>
        <translation>Damaged video</translation>
    </message>
    <message>
        <source>Video too large</source>
        <translation>Video too large</translation>
    </message>
    <message>
        <source>Frame not found</source>
        <translation>Frame not found</translation>
    </message>
    <message>
        <source>Video has no sound</source>
        <translation>Video has no sound</translation>
    </message>
    <message>
        <source>Video decoding is not available</source>
        <translation>Video decoding is not available</translation>
    </message>
    <message>
        <source>%1,%2</source>
        <translation>%1.%2</translation>
    </message>
    <message>
        <source>Zapisano %1 plików sprite&apos;a %2 do %3: %4 klatek w %5 blokach, arkusz, animacje i opis.</source>
        <translation>Wrote %1 files of sprite %2 to %3: %4 frames in %5 blocks, a sheet, animations and a listing.</translation>
    </message>
    <message>
        <source>Pominięto istniejące pliki: %1.</source>
        <translation>Existing files skipped: %1.</translation>
    </message>
    <message>
        <source>Nie ma już pliku %1; usunięto go z listy ostatnio otwieranych.</source>
        <translation>%1 is no longer there; it was removed from the recent archives.</translation>
    </message>
    <message>
        <source>%1 nie jest archiwum LOD, SND ani VID.</source>
        <translation>%1 is not a LOD, SND or VID archive.</translation>
    </message>
    <message>
        <source>Upuść jeden plik archiwum, aby go otworzyć.</source>
        <translation>Drop one archive file to open it.</translation>
    </message>
    <message>
        <source>Nie udało się wypakować: %1</source>
        <translation>Could not extract: %1</translation>
    </message>
    <message>
        <source>%1 zmieniło się na dysku, odkąd zostało otwarte. Wczytać je ponownie (niezapisane zmiany przepadną), zapisać zmiany pod inną nazwą czy zapisać mimo to, tracąc tamte zmiany?</source>
        <translation>%1 has changed on disk since it was opened. Reload it (the unsaved changes are dropped), save the changes under another name, or save anyway, losing those changes?</translation>
    </message>
    <message>
        <source>%1 jest właśnie zmieniane przez inny program; spróbuj ponownie, gdy skończy.</source>
        <translation>%1 is being changed by another program; try again when it is done.</translation>
    </message>
    <message>
        <source>Archiwum chronione</source>
        <translation>Archive protected</translation>
    </message>
    <message>
        <source>%1 ma %2 nazwy (twarde dowiązania). Zapisanie da tej nazwie nowy plik, a pozostałe zachowają stare archiwum. Zapisać mimo to?</source>
        <translation>%1 has %2 names (hard links). Saving gives this name a new file and leaves the old archive to the others. Save anyway?</translation>
    </message>
    <message>
        <source>%1 jest chronione przed zapisem. Zastąpić je mimo to?</source>
        <translation>%1 is write-protected. Replace it anyway?</translation>
    </message>
    <message>
        <source>%1 to samo archiwum: nie może być dodane do siebie.</source>
        <translation>%1 is the archive itself: it cannot be added to itself.</translation>
    </message>
    <message>
        <source>Plik %1 już istnieje. Zastąpić go?</source>
        <translation>%1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Ambiguous name</source>
        <translation>Ambiguous name</translation>
    </message>
    <message>
        <source>Not a LOD archive</source>
        <translation>Not a LOD archive</translation>
    </message>
    <message>
        <source>Not an SND archive</source>
        <translation>Not an SND archive</translation>
    </message>
    <message>
        <source>Not a VID archive</source>
        <translation>Not a VID archive</translation>
    </message>
    <message>
        <source>%1   (uszkodzone pliki: %2)</source>
        <translation>%1   (damaged entries: %2)</translation>
    </message>
    <message>
        <source>Uszkodzone pliki</source>
        <translation>Damaged entries</translation>
    </message>
    <message>
        <source>Archiwum %1 ma uszkodzone pliki (%2): %3. Zachować ich bajty tak, jak są zapisane, czy pominąć je w zapisanym archiwum?</source>
        <translation>Archive %1 has damaged entries (%2): %3. Keep their bytes as stored, or leave them out of the saved archive?</translation>
    </message>
    <message>
        <source>Damaged entries</source>
        <translation>Damaged entries</translation>
    </message>
    <message>
        <source>Błąd pliku: %1</source>
        <translation>File error: %1</translation>
    </message>
    <message>
        <source>Plik już istnieje</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>Pliki już istnieją</source>
        <translation>Files exist</translation>
    </message>
    <message>
        <source>Plik za duży</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>Plik zmienił się podczas odczytu</source>
        <translation>File changed while it was read</translation>
    </message>
    <message>
        <source>Archiwum zmieniło się podczas odczytu</source>
        <translation>The archive changed while it was read</translation>
    </message>
    <message>
        <source>To nie jest archiwum</source>
        <translation>Not an archive</translation>
    </message>
    <message>
        <source>Archiwum innego rodzaju</source>
        <translation>Other kind of archive</translation>
    </message>
    <message>
        <source>Plik o tej nazwie już zapisano w tym wypakowaniu</source>
        <translation>Name already written in this run</translation>
    </message>
    <message>
        <source>Nazwa odrzucona</source>
        <translation>Name refused</translation>
    </message>
    <message>
        <source>Pusty plik w archiwum</source>
        <translation>Empty entry</translation>
    </message>
    <message>
        <source>Archiwum za duże</source>
        <translation>Archive too large</translation>
    </message>
    <message>
        <source>Nie można skompresować</source>
        <translation>Cannot compress</translation>
    </message>
    <message>
        <source>Nieprawidłowy poziom kompresji</source>
        <translation>Invalid compression level</translation>
    </message>
    <message>
        <source>Archiwum w użyciu</source>
        <translation>Archive in use</translation>
    </message>
    <message>
        <source>Archiwum nie może być własnym plikiem wejściowym</source>
        <translation>The archive cannot be its own input</translation>
    </message>
    <message>
        <source>Nieobsługiwany format obrazu</source>
        <translation>Unsupported picture format</translation>
    </message>
    <message>
        <source>Pusty obraz</source>
        <translation>Empty picture</translation>
    </message>
    <message>
        <source>Nieobsługiwana głębia kolorów</source>
        <translation>Unsupported bit depth</translation>
    </message>
    <message>
        <source>Za dużo kolorów</source>
        <translation>Too many colours</translation>
    </message>
    <message>
        <source>Nieobsługiwany plik BMP</source>
        <translation>Unsupported BMP file</translation>
    </message>
    <message>
        <source>Uszkodzony plik BMP</source>
        <translation>Damaged BMP file</translation>
    </message>
    <message>
        <source>Nie można odczytać PNG</source>
        <translation>Cannot read PNG</translation>
    </message>
    <message>
        <source>Nie można zapisać PNG</source>
        <translation>Cannot write PNG</translation>
    </message>
    <message>
        <source>Nie można zapisać pustego obrazu jako PNG</source>
        <translation>Cannot write an empty picture as PNG</translation>
    </message>
    <message>
        <source>Nie można zapisać animacji bez klatek</source>
        <translation>Cannot write an animation without frames</translation>
    </message>
    <message>
        <source>Nie można zapisać animacji z różnych klatek</source>
        <translation>Cannot write an animation of unequal frames</translation>
    </message>
    <message>
        <source>Uszkodzony plik PNG</source>
        <translation>Damaged PNG file</translation>
    </message>
    <message>
        <source>Sprite za duży</source>
        <translation>Sprite too large</translation>
    </message>
    <message>
        <source>Niezgodne palety</source>
        <translation>Palette mismatch</translation>
    </message>
    <message>
        <source>Klatka nie ma palety</source>
        <translation>Frame is not indexed</translation>
    </message>
    <message>
        <source>Niezgodny rozmiar klatki</source>
        <translation>Frame size mismatch</translation>
    </message>
    <message>
        <source>Nie można zapisać sprite&apos;a</source>
        <translation>Cannot write sprite</translation>
    </message>
    <message>
        <source>Uszkodzony opis sprite&apos;a</source>
        <translation>Damaged sprite listing</translation>
    </message>
    <message>
        <source>Nieoczekiwany błąd: %1</source>
        <translation>Unexpected error: %1</translation>
    </message>
    <message>
        <source>Cofnij</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Ponów</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Cofnij: %1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>Ponów: %1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>dodaj %1</source>
        <translation>add %1</translation>
    </message>
    <message>
        <source>dodaj %1 pliki</source>
        <translation>add %1 files</translation>
    </message>
    <message>
        <source>dodaj %1 plików</source>
        <translation>add %1 files</translation>
    </message>
    <message>
        <source>zastąp %1</source>
        <translation>replace %1</translation>
    </message>
    <message>
        <source>usuń %1</source>
        <translation>remove %1</translation>
    </message>
    <message>
        <source>zmień nazwę %1 na %2</source>
        <translation>rename %1 to %2</translation>
    </message>
    <message>
        <source>odrzuć zmiany</source>
        <translation>discard changes</translation>
    </message>
    <message>
        <source>%1   (na liście %2 z %3)</source>
        <translation>%1   (%2 of %3 listed)</translation>
    </message>
    <message>
        <source> </source>
        <translation>,</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Wy&amp;pakuj zaznaczone pliki (%1)...</source>
        <translation>Extract &amp;selected files (%1)...</translation>
    </message>
    <message>
        <source>Dźwięk %1, %2 Hz, kanały: %3, %4 bit, czas %5</source>
        <translation>%1 sound, %2 Hz, %3 channels, %4-bit, length %5</translation>
    </message>
    <message>
        <source>PCM</source>
        <translation>PCM</translation>
    </message>
    <message>
        <source>w formacie %1</source>
        <translation>format %1</translation>
    </message>
    <message>
        <source>Brak urządzenia dźwiękowego</source>
        <translation>No sound device</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Czcionka: %1 znaków %2 × %3 pikseli, od kodu %4</source>
        <translation>Font: %1 glyphs of %2 × %3 pixels, from code %4</translation>
    </message>
    <message>
        <source>Maska: %1 × %2 pól, warstwy: %3</source>
        <translation>Mask: %1 × %2 cells, %3 layers</translation>
    </message>
    <message>
        <source>Jak zapisać klatki %1? Przezroczyste pokazują sprite jak gra; z paletą bez zmian zachowują indeksy i kolory znaczników, dokładnie do ponownego importu.</source>
        <translation>How should the frames of %1 be written? Transparent shows the sprite as the game does; with the palette unchanged keeps the indices and the markers&apos; colours, exactly as a new import needs them.</translation>
    </message>
    <message>
        <source>Przezroczyste</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Z paletą bez zmian</source>
        <translation>Palette unchanged</translation>
    </message>
    <message>
        <source>%1 to obraz PNG/BMP. Zapisać go w archiwum jako obraz gry %2, czy bez zmian?</source>
        <translation>%1 is a PNG/BMP picture. Store it in the archive as the game picture %2, or unchanged?</translation>
    </message>
    <message>
        <source>Jako obraz gry (%1)</source>
        <translation>As a game picture (%1)</translation>
    </message>
    <message>
        <source>Bez zmian (%1)</source>
        <translation>Unchanged (%1)</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 ma więcej niż 256 kolorów: zapisano go jako 24-bitowy obraz gry %2 (bez palety).</source>
        <translation>%1 has more than 256 colours: it was stored as the 24-bit game picture %2 (no palette).</translation>
    </message>
    <message>
        <source>Wybierz folder eksportu sprite&apos;a</source>
        <translation>Choose the folder of a sprite export</translation>
    </message>
    <message>
        <source>Zaimportować sprite z %1 w miejsce %2, czy dodać go jako nowy plik?</source>
        <translation>Import the sprite from %1 in place of %2, or add it as a new file?</translation>
    </message>
    <message>
        <source>Zastąp %1</source>
        <translation>Replace %1</translation>
    </message>
    <message>
        <source>Dodaj jako nowy</source>
        <translation>Add as new</translation>
    </message>
    <message>
        <source>importuj sprite %1</source>
        <translation>import sprite %1</translation>
    </message>
    <message>
        <source>Obraz (PNG, BMP) na klatkę %1 sprite&apos;a %2</source>
        <translation>Picture (PNG, BMP) for frame %1 of sprite %2</translation>
    </message>
    <message>
        <source>zastąp klatkę %1 w %2</source>
        <translation>replace frame %1 in %2</translation>
    </message>
    <message>
        <source>%1: klatkę można zastąpić tylko obrazem .png lub .bmp</source>
        <translation>%1: a frame can be replaced by a .png or .bmp picture only</translation>
    </message>
    <message>
        <source>Edycja w innym programie</source>
        <translation>Editing in another program</translation>
    </message>
    <message>
        <source>Plik %1 został zmieniony. Uaktualnić archiwum?</source>
        <translation>The file %1 was changed. Update the archive?</translation>
    </message>
    <message>
        <source>Tak</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Tak, zawsze dla tego pliku</source>
        <translation>Yes, always for this file</translation>
    </message>
    <message>
        <source>Nie</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Nie uaktualniono archiwum plikiem %1: %2. Archiwum się nie zmieniło.</source>
        <translation>The archive was not updated from %1: %2. The archive did not change.</translation>
    </message>
    <message>
        <source>Nie udało się otworzyć %1 w innym programie.</source>
        <translation>Could not open %1 in another program.</translation>
    </message>
    <message>
        <source>zmiana %1 w innym programie</source>
        <translation>%1 changed in another program</translation>
    </message>
    <message>
        <source>W innych programach są wciąż otwarte: %1. Zmiany zapisane w nich później nie trafią do archiwum. Zamknąć mimo to?</source>
        <translation>Still open in other programs: %1. Changes saved there later will not reach the archive. Close anyway?</translation>
    </message>
    <message>
        <source>Program do edycji</source>
        <translation>Editing program</translation>
    </message>
    <message>
        <source>Wiersz polecenia programu, który otwiera wpisy (ścieżka pliku dochodzi na końcu); pusty: program, który system kojarzy z typem pliku.</source>
        <translation>The command line of the program that opens entries (the file&apos;s path is added at its end); empty: the program the system associates with the file&apos;s type.</translation>
    </message>
    <message>
        <source>Nowe archiwum</source>
        <translation>New archive</translation>
    </message>
    <message>
        <source>Jakiego rodzaju archiwum utworzyć?</source>
        <translation>What kind of archive should be made?</translation>
    </message>
    <message>
        <source>%1 już istnieje; nowe archiwum nie zastępuje innego pliku.</source>
        <translation>%1 already exists; a new archive does not replace another file.</translation>
    </message>
    <message>
        <source>Niezapisane zmiany</source>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <source>Przywrócić niezapisane zmiany archiwum %1?</source>
        <translation>Restore the unsaved changes of the archive %1?</translation>
    </message>
    <message>
        <source>przywróć niezapisane zmiany</source>
        <translation>restore unsaved changes</translation>
    </message>
    <message>
        <source>Archiwum %1 zmieniło się od czasu tych zmian, więc nie zostały przywrócone. Dziennik zachowano: %2</source>
        <translation>The archive %1 has changed since those changes, so they were not restored. The journal was kept: %2</translation>
    </message>
    <message>
        <source>Dziennik zmian %2 jest uszkodzony (%3); zachowano go, niczego nie zmieniono.</source>
        <translation>The change journal %2 is damaged (%3); it was kept and nothing was changed.</translation>
    </message>
    <message>
        <source>Nie można zapisać dziennika niezapisanych zmian %2: %3</source>
        <translation>Cannot write the journal of unsaved changes %2: %3</translation>
    </message>
    <message>
        <source>Otwórz folder gry</source>
        <translation>Open the game&apos;s folder</translation>
    </message>
    <message>
        <source>%1 (archiwa: %2, pliki: %3)</source>
        <translation>%1 (archives: %2, files: %3)</translation>
    </message>
    <message>
        <source>Folder: %1 (archiwa: %2, zasłonięte kopie: %3)</source>
        <translation>Folder: %1 (archives: %2, shadowed copies: %3)</translation>
    </message>
    <message>
        <source>zasłania: %1</source>
        <translation>shadows: %1</translation>
    </message>
    <message>
        <source>zasłonięty</source>
        <translation>shadowed</translation>
    </message>
    <message>
        <source>Niektórych archiwów folderu nie można odczytać:
%1</source>
        <translation>Some archives of the folder cannot be read:
%1</translation>
    </message>
    <message>
        <source>Folderu nie można edytować. Wybierz „Edytuj to archiwum”, aby otworzyć archiwum zaznaczonego pliku.</source>
        <translation>A folder cannot be edited. Choose “Edit this archive” to open the selected file&apos;s archive.</translation>
    </message>
    <message>
        <source>Kolejność archiwów</source>
        <translation>Archive order</translation>
    </message>
    <message>
        <source>Plik o tej samej nazwie w kilku archiwach pochodzi z archiwum wyżej na liście.</source>
        <translation>A file of the same name in several archives comes from the archive higher on the list.</translation>
    </message>
    <message>
        <source>Porównaj z archiwum</source>
        <translation>Compare with an archive</translation>
    </message>
    <message>
        <source>Porównanie</source>
        <translation>Comparison</translation>
    </message>
    <message>
        <source>nowe</source>
        <translation>new</translation>
    </message>
    <message>
        <source>usunięte</source>
        <translation>removed</translation>
    </message>
    <message>
        <source>zmienione</source>
        <translation>changed</translation>
    </message>
    <message>
        <source>bez zmian</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>nieczytelne</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>Porównywanie z %1...</source>
        <translation>Comparing with %1...</translation>
    </message>
    <message>
        <source>Przerwano porównanie.</source>
        <translation>Comparison cancelled.</translation>
    </message>
    <message>
        <source>wszystkie</source>
        <translation>all</translation>
    </message>
    <message>
        <source>%1 jest archiwum %2, a otwarte archiwum %3: porównać i scalić można tylko archiwa jednego rodzaju.</source>
        <translation>%1 is a %2 archive and the open archive a %3 one: only archives of one kind can be compared and merged.</translation>
    </message>
    <message>
        <source>Katalogu archiwum %1 nie da się odczytać w całości (%2).</source>
        <translation>The directory of the archive %1 cannot be read whole (%2).</translation>
    </message>
    <message>
        <source>Nie udało się odczytać niektórych plików:
%1</source>
        <translation>Some files could not be read:
%1</translation>
    </message>
    <message>
        <source>Stare: %1</source>
        <translation>Old: %1</translation>
    </message>
    <message>
        <source>Nowe: %1</source>
        <translation>New: %1</translation>
    </message>
    <message>
        <source>(nie ma go w tym archiwum)</source>
        <translation>(not in this archive)</translation>
    </message>
    <message>
        <source>Eksportuj różnice</source>
        <translation>Export differences</translation>
    </message>
    <message>
        <source>Różnic nie można zapisać w miejsce porównywanego archiwum (%1).</source>
        <translation>The differences cannot be written over an archive compared (%1).</translation>
    </message>
    <message>
        <source>Archiwa się nie różnią: nie ma czego eksportować.</source>
        <translation>The archives do not differ: there is nothing to export.</translation>
    </message>
    <message>
        <source>Zapisywanie różnic do %1...</source>
        <translation>Writing the differences to %1...</translation>
    </message>
    <message>
        <source>Zapisano %1: plików %2.</source>
        <translation>Written %1: %2 files.</translation>
    </message>
    <message>
        <source>Scalenie z tym archiwum nie usuwa plików, których nie ma w nowym:
%1</source>
        <translation>Merging this archive removes no file that the new one lacks:
%1</translation>
    </message>
    <message>
        <source>Przerwano: nie zapisano różnic.</source>
        <translation>Cancelled: the differences were not written.</translation>
    </message>
    <message>
        <source>Czytanie %1...</source>
        <translation>Reading %1...</translation>
    </message>
    <message>
        <source>Przerwano scalanie: niczego nie zmieniono.</source>
        <translation>Merge cancelled: nothing was changed.</translation>
    </message>
    <message>
        <source>Scal z archiwum</source>
        <translation>Merge with an archive</translation>
    </message>
    <message>
        <source>Plik %1 jest w obu archiwach z inną treścią. Zostawić jego wersję z otwartego archiwum czy wziąć ją z %2?</source>
        <translation>The file %1 is in both archives with different content. Keep the open archive&apos;s version or take the one from %2?</translation>
    </message>
    <message>
        <source>Zostaw</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>Weź</source>
        <translation>Take</translation>
    </message>
    <message>
        <source>Zostaw wszystkie</source>
        <translation>Keep all</translation>
    </message>
    <message>
        <source>Weź wszystkie</source>
        <translation>Take all</translation>
    </message>
    <message>
        <source>%1 nie wnosi nic nowego: otwarte archiwum ma już wszystkie jego pliki.</source>
        <translation>%1 brings nothing new: the open archive already holds all its files.</translation>
    </message>
    <message>
        <source>scal z %1</source>
        <translation>merge with %1</translation>
    </message>
    <message>
        <source>Scalono z %1: dodano %2, zastąpiono %3 (do zapisania).</source>
        <translation>Merged with %1: %2 added, %3 replaced (to be saved).</translation>
    </message>
    <message>
        <source>Szukanie „%1” w treści plików...</source>
        <translation>Searching the files&apos; content for “%1”...</translation>
    </message>
    <message>
        <source>Znalezione</source>
        <translation>Found</translation>
    </message>
    <message>
        <source>%1: %2   (i %3 więcej)</source>
        <translation>%1: %2   (and %3 more)</translation>
    </message>
    <message>
        <source>dane binarne zawierają tekst</source>
        <translation>binary data holds the text</translation>
    </message>
    <message>
        <source>Tekstu „%1” nie da się zapisać w kodowaniu Windows-1250 plików archiwum.</source>
        <translation>The text “%1” cannot be written in the archive files&apos; Windows-1250 encoding.</translation>
    </message>
    <message>
        <source>Przerwano szukanie „%1”: przeszukano %2 z %3 plików.</source>
        <translation>Search for “%1” cancelled: %2 of %3 files searched.</translation>
    </message>
</context>
</TS>
