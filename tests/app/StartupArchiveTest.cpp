// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/EntryListModel.h"
#include "app/StartupArchive.h"
#include "app/MainWindow.h"
#include "tests/app/AppTestSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"

namespace app = brasvel::app;
namespace writers = brasvel::writers;
namespace {

using StartupToolkit = app::OpenDialogAnsweredOnce<app::testing::RecordingToolkit>;

// An archive of the format named "lod", "snd" or "vid".
std::string archiveBytes(const QString& format) {
    if (format == QStringLiteral("lod")) {
        return writers::LodWriter().add("A.txt", "a").add("B.txt", "bb").add("C.pcx", "c").build();
    }
    if (format == QStringLiteral("snd")) {
        return writers::SndWriter().add("one", "RIFF").add("two", "RIFF").build();
    }
    return writers::VidWriter().add("intro.smk", "smk").build();
}

// The name of the format, or "" for none.
QString nameOf(const brasvel::ArchiveFormat* format) {
    return format == nullptr ? QString()
                             : QString::fromLatin1(format->name.data(),
                                                   static_cast<qsizetype>(format->name.size()));
}

}  // namespace

// Start-up opens the archive the desktop hands over, whatever the case of its name.
class StartupArchiveTest : public QObject {
    Q_OBJECT
private slots:
    void mixedCaseNamesAreToldApart_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("filter");
        QTest::newRow("Data.Lod") << "/home/a/Data.Lod" << "lod" << 1;
        QTest::newRow("x.sNd") << "x.sNd" << "snd" << 2;
        QTest::newRow("x.viD") << "x.viD" << "vid" << 3;
        QTest::newRow("lower case") << "data.lod" << "" << 0;
        QTest::newRow("upper case") << "DATA.LOD" << "" << 0;
        QTest::newRow("another type") << "Notes.Txt" << "" << 0;
        QTest::newRow("short") << "Od" << "" << 0;
        QTest::newRow("empty") << "" << "" << 0;
    }
    void mixedCaseNamesAreToldApart() {
        QFETCH(QString, path);
        QFETCH(QString, format);
        QFETCH(int, filter);
        const brasvel::ArchiveFormat* found = app::mixedCaseFormat(path.toStdString());
        QCOMPARE(nameOf(found), format);
        if (found != nullptr) {
            QCOMPARE(app::filterIndexOf(*found), filter);
        }
    }

    void theArchiveNamedAtStartIsListed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("rows");
        QTest::newRow("Data.Lod") << "Data.Lod" << "lod" << 3;
        QTest::newRow("data.lod") << "data.lod" << "lod" << 3;
        QTest::newRow("DATA.LOD") << "DATA.LOD" << "lod" << 3;
        QTest::newRow("Sounds.sNd") << "Sounds.sNd" << "snd" << 2;
        QTest::newRow("Movies.Vid") << "Movies.Vid" << "vid" << 1;
        // A name of no archive kind: its bytes tell, as for a dropped file.
        QTest::newRow("another type") << "Data.Txt"
                                      << "lod" << 3;
    }
    void theArchiveNamedAtStartIsListed() {
        QFETCH(QString, name);
        QFETCH(QString, content);
        QFETCH(int, rows);
        QTemporaryDir folder;
        const std::string path = folder.filePath(name).toStdString();
        const std::string bytes = archiveBytes(content);
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

        app::TForm1 window;
        StartupToolkit ui(window);
        app::testing::FakePlayer player;
        brasvel::MainForm form(ui, player);
        window.attach(ui);
        ui.run([&] { app::startUp(form, ui, "", path); });

        QVERIFY(ui.errors.empty());
        QCOMPARE(window.listModel->rowCount(), rows);
        QCOMPARE(form.archivePath(), path);
    }

    // A damaged archive of a mixed-case name is reported as any other archive is.
    void aDamagedArchiveOfAMixedCaseNameIsReported() {
        QTemporaryDir folder;
        const std::string path = folder.filePath(QStringLiteral("Broken.Lod")).toStdString();
        std::ofstream(path, std::ios::binary) << "LOD";

        app::TForm1 window;
        StartupToolkit ui(window);
        app::testing::FakePlayer player;
        brasvel::MainForm form(ui, player);
        window.attach(ui);
        ui.run([&] { app::startUp(form, ui, "", path); });

        QCOMPARE(ui.errors.size(), std::size_t{1});
        QCOMPARE(window.listModel->rowCount(), 0);
    }

#ifdef _WIN32
    // The game's folder from the registry, as a 32-bit installer writes it or a 64-bit one; the
    // tests run in a private wine prefix, whose registry is theirs.
    void theGameFolderIsReadFromEitherViewOfTheRegistry() {
        const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Talgrove\\Brasvel\\1.0");
        QSettings narrow(key, QSettings::Registry32Format);
        QSettings wide(key, QSettings::Registry64Format);
        narrow.remove(QStringLiteral("AppPath"));
        wide.remove(QStringLiteral("AppPath"));
        narrow.sync();
        wide.sync();
        QCOMPARE(app::installedGameFolder(), std::string());

        wide.setValue(QStringLiteral("AppPath"), QStringLiteral("D:\\Gry\\Brasvel 64\\"));
        wide.sync();
        QCOMPARE(app::installedGameFolder(), std::string("D:\\Gry\\Brasvel 64\\"));

        narrow.setValue(QStringLiteral("AppPath"), QStringLiteral("C:\\Gry\\Żółw\\"));
        narrow.sync();
        QCOMPARE(app::installedGameFolder(), std::string("C:\\Gry\\\xC5\xBB\xC3\xB3\xC5\x82w\\"));

        narrow.remove(QStringLiteral("AppPath"));
        wide.remove(QStringLiteral("AppPath"));
    }
#endif
};

QTEST_MAIN(StartupArchiveTest)
#include "StartupArchiveTest.moc"
