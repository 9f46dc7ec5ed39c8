// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <map>

#include "app/AppTexts.h"
#include "app/Language.h"
#include "app/MainWindow.h"
#include "tests/app/AppTestSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace app = brasvel::app;
using app::Language;

Q_DECLARE_METATYPE(Language)

namespace {

// The environment of one case: the variables it sets, all others unset.
app::EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

QStringList split(const QString& text) {
    return text.split(u' ', Qt::SkipEmptyParts);
}

// The menu bar's titles.
// The titles without their access keys' marks.
QStringList menuTitles(const app::TForm1& window) {
    QStringList titles;
    for (const QAction* menu : window.menuBar()->actions()) {
        titles << QString(menu->text()).remove(QLatin1Char('&'));
    }
    return titles;
}

// The process's own environment, as a desktop session would set it.
void setProcessLocale(const char* lang) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        qunsetenv(name);
    }
    qputenv("LANG", lang);
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void theLanguageComesFromTheOptionThenTheEnvironment_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("environment");  // NAME=value ..., in no particular order
        QTest::addColumn<Language>("expected");
        QTest::newRow("nothing set") << ""
                                     << "" << Language::Polish;
        QTest::newRow("LANG=en_GB") << ""
                                    << "LANG=en_GB.UTF-8" << Language::English;
        QTest::newRow("LANG=en_US") << "a.lod"
                                    << "LANG=en_US" << Language::English;
        QTest::newRow("LANG=pl_PL") << ""
                                    << "LANG=pl_PL.UTF-8" << Language::Polish;
        QTest::newRow("LANG=C") << ""
                                << "LANG=C.UTF-8" << Language::Polish;
        QTest::newRow("LANG=de_DE") << ""
                                    << "LANG=de_DE" << Language::Polish;
        QTest::newRow("LC_ALL over LANG") << ""
                                          << "LC_ALL=pl_PL LANG=en_GB" << Language::Polish;
        QTest::newRow("LC_ALL=en") << ""
                                   << "LC_ALL=en_GB LANG=pl_PL" << Language::English;
        QTest::newRow("LC_MESSAGES over LANG")
            << ""
            << "LC_MESSAGES=en_IE LANG=pl_PL" << Language::English;
        QTest::newRow("LANGUAGE first") << ""
                                        << "LANGUAGE=en_GB:pl LC_ALL=pl_PL" << Language::English;
        QTest::newRow("LANGUAGE's first item") << ""
                                               << "LANGUAGE=pl:en LANG=en_GB" << Language::Polish;
        QTest::newRow("empty LANGUAGE skipped") << ""
                                                << "LANGUAGE= LANG=en_GB" << Language::English;
        QTest::newRow("--lang en over pl_PL") << "--lang en x.lod"
                                              << "LANG=pl_PL" << Language::English;
        QTest::newRow("--lang=en") << "--lang=en"
                                   << "" << Language::English;
        QTest::newRow("the last --lang") << "--lang en --lang=pl"
                                         << "" << Language::Polish;
        QTest::newRow("--lang pl over en_GB") << "x.lod --lang pl"
                                              << "LC_ALL=en_GB" << Language::Polish;
    }
    void theLanguageComesFromTheOptionThenTheEnvironment() {
        QFETCH(QString, arguments);
        QFETCH(QString, environment);
        QFETCH(Language, expected);
        std::map<std::string, std::string> variables;
        for (const QString& setting : split(environment)) {
            const auto equals = setting.indexOf(u'=');
            variables[setting.left(equals).toStdString()] = setting.mid(equals + 1).toStdString();
        }
        std::vector<std::string> argv;
        for (const QString& argument : split(arguments)) {
            argv.push_back(argument.toStdString());
        }
        QCOMPARE(app::chooseLanguage(argv, environmentOf(variables)), expected);
    }

    void anUnknownLanguageIsAnError() {
        const auto none = environmentOf({});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 app::chooseLanguage({"--lang", "de"}, none));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, app::chooseLanguage({"--lang"}, none));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 app::chooseLanguage({"--lang", "EN"}, none));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, app::chooseLanguage({"--lang="}, none));
    }

    void theOptionIsTakenOutOfTheArguments() {
        const std::vector<std::string> rest =
            app::withoutLanguageOption({"--lang", "en", "a.lod", "--lang=pl", "--docked"});
        QCOMPARE(rest, (std::vector<std::string>{"a.lod", "--docked"}));
    }

    // LANG=en_GB: the menus, the logic's texts, the core's errors and Qt's buttons in English.
    void anEnglishLocaleGivesAnEnglishWindow() {
        setProcessLocale("en_GB.UTF-8");
        const app::InstalledLanguage installed(app::chooseLanguage({}));
        QCOMPARE(installed.language(), Language::English);
        QVERIFY2(installed.complete(), qPrintable(app::translationsDirectory()));

        app::TForm1 window;
        QCOMPARE(menuTitles(window), (QStringList{"File", "Edit", "Options", "Help"}));
        QCOMPARE(window.windowTitle(), QStringLiteral("Brasvel Resource Editor  Version 1.90"));
        QCOMPARE(window.BitBtn1->text(), QStringLiteral("Preview"));

        app::testing::RecordingToolkit ui(window);
        QCOMPARE(ui.translate(brasvel::texts::kListCut),
                 "The archive holds %1 files; the list shows the first %2.");
        QCOMPARE(ui.translate(brasvel::texts::kOpenFilters[0].text), "LOD resource files");
        QCOMPARE(ui.translate(brasvel::texts::kErrorTexts[0].text), "Read beyond end of file");
        // Every error the core raises reads in English as the command line prints it; the ones
        // raised with the system's or a library's words frame them.
        for (const brasvel::texts::ErrorText& known : brasvel::texts::kErrorTexts) {
            const std::string english = ui.translate(known.text);
            if (brasvel::hasFixedText(known.kind)) {
                QCOMPARE(english, std::string(brasvel::errorKindText(known.kind)));
            } else {
                QVERIFY2(english != known.text && english.find("%1") != std::string::npos,
                         known.text);
            }
        }

        QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
    }

    // --lang en over a Polish locale: the same English texts.
    void theOptionOverridesAPolishLocale() {
        setProcessLocale("pl_PL.UTF-8");
        const app::InstalledLanguage installed(app::chooseLanguage({"--lang", "en"}));
        app::TForm1 window;
        QCOMPARE(menuTitles(window), (QStringList{"File", "Edit", "Options", "Help"}));
    }

    // LANG=pl_PL: the window as written, and Qt's buttons in Polish.
    void aPolishLocaleGivesAPolishWindow() {
        setProcessLocale("pl_PL.UTF-8");
        const app::InstalledLanguage installed(app::chooseLanguage({}));
        QCOMPARE(installed.language(), Language::Polish);

        app::TForm1 window;
        QCOMPARE(menuTitles(window), (QStringList{"Plik", "Edycja", "Opcje", "Pomoc"}));
        QCOMPARE(window.BitBtn1->text(), QStringLiteral("Podgląd"));
        app::testing::RecordingToolkit ui(window);
        QCOMPARE(ui.translate(brasvel::texts::kOpenFilters[0].text), "Pliki zaosbów LOD");
        QCOMPARE(ui.translate(brasvel::texts::kErrorTexts[0].text), "Read beyond end of file");

        QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Anuluj"));
    }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
