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
using brasvel::ArchiveKind;

Q_DECLARE_METATYPE(ArchiveKind)

namespace {

using StartupToolkit = app::OpenDialogAnsweredOnce<app::testing::RecordingToolkit>;

std::string archiveBytes(ArchiveKind kind) {
    if (kind == ArchiveKind::Lod) {
        return writers::LodWriter().add("A.txt", "a").add("B.txt", "bb").add("C.pcx", "c").build();
    }
    if (kind == ArchiveKind::Snd) {
        return writers::SndWriter().add("one", "RIFF").add("two", "RIFF").build();
    }
    return writers::VidWriter().add("intro.smk", "smk").build();
}

}  // namespace

// Start-up opens the archive the desktop hands over, whatever the case of its name.
class StartupArchiveTest : public QObject {
    Q_OBJECT
private slots:
    void mixedCaseNamesAreToldApart_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<ArchiveKind>("kind");
        QTest::newRow("Data.Lod") << "/home/a/Data.Lod" << ArchiveKind::Lod;
        QTest::newRow("x.sNd") << "x.sNd" << ArchiveKind::Snd;
        QTest::newRow("x.viD") << "x.viD" << ArchiveKind::Vid;
        QTest::newRow("lower case") << "data.lod" << ArchiveKind::None;
        QTest::newRow("upper case") << "DATA.LOD" << ArchiveKind::None;
        QTest::newRow("another type") << "Notes.Txt" << ArchiveKind::None;
        QTest::newRow("short") << "Od" << ArchiveKind::None;
        QTest::newRow("empty") << "" << ArchiveKind::None;
    }
    void mixedCaseNamesAreToldApart() {
        QFETCH(QString, path);
        QFETCH(ArchiveKind, kind);
        QCOMPARE(app::mixedCaseKind(path.toStdString()), kind);
    }

    void theArchiveNamedAtStartIsListed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ArchiveKind>("content");
        QTest::addColumn<int>("rows");
        QTest::newRow("Data.Lod") << "Data.Lod" << ArchiveKind::Lod << 3;
        QTest::newRow("data.lod") << "data.lod" << ArchiveKind::Lod << 3;
        QTest::newRow("DATA.LOD") << "DATA.LOD" << ArchiveKind::Lod << 3;
        QTest::newRow("Sounds.sNd") << "Sounds.sNd" << ArchiveKind::Snd << 2;
        QTest::newRow("Movies.Vid") << "Movies.Vid" << ArchiveKind::Vid << 1;
        QTest::newRow("another type") << "Data.Txt" << ArchiveKind::Lod << 0;
    }
    void theArchiveNamedAtStartIsListed() {
        QFETCH(QString, name);
        QFETCH(ArchiveKind, content);
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
        window.attach(form, ui, player);
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
        window.attach(form, ui, player);
        ui.run([&] { app::startUp(form, ui, "", path); });

        QCOMPARE(ui.errors.size(), std::size_t{1});
        QCOMPARE(window.listModel->rowCount(), 0);
    }
};

QTEST_MAIN(StartupArchiveTest)
#include "StartupArchiveTest.moc"
