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
using Format = const brasvel::ArchiveFormat*;

Q_DECLARE_METATYPE(Format)

namespace {

using StartupToolkit = app::OpenDialogAnsweredOnce<app::testing::RecordingToolkit>;

std::string archiveBytes(Format kind) {
    if (kind == &brasvel::kLodFormat) {
        return writers::LodWriter().add("A.txt", "a").add("B.txt", "bb").add("C.pcx", "c").build();
    }
    if (kind == &brasvel::kSndFormat) {
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
        QTest::addColumn<Format>("kind");
        QTest::newRow("Data.Lod") << "/home/a/Data.Lod" << &brasvel::kLodFormat;
        QTest::newRow("x.sNd") << "x.sNd" << &brasvel::kSndFormat;
        QTest::newRow("x.viD") << "x.viD" << &brasvel::kVidFormat;
        QTest::newRow("lower case") << "data.lod" << Format{};
        QTest::newRow("upper case") << "DATA.LOD" << Format{};
        QTest::newRow("another type") << "Notes.Txt" << Format{};
        QTest::newRow("short") << "Od" << Format{};
        QTest::newRow("empty") << "" << Format{};
    }
    void mixedCaseNamesAreToldApart() {
        QFETCH(QString, path);
        QFETCH(Format, kind);
        QCOMPARE(app::mixedCaseFormat(path.toStdString()), kind);
    }

    void theArchiveNamedAtStartIsListed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Format>("content");
        QTest::addColumn<int>("rows");
        QTest::newRow("Data.Lod") << "Data.Lod" << &brasvel::kLodFormat << 3;
        QTest::newRow("data.lod") << "data.lod" << &brasvel::kLodFormat << 3;
        QTest::newRow("DATA.LOD") << "DATA.LOD" << &brasvel::kLodFormat << 3;
        QTest::newRow("Sounds.sNd") << "Sounds.sNd" << &brasvel::kSndFormat << 2;
        QTest::newRow("Movies.Vid") << "Movies.Vid" << &brasvel::kVidFormat << 1;
        QTest::newRow("another type") << "Data.Txt" << &brasvel::kLodFormat << 0;
    }
    void theArchiveNamedAtStartIsListed() {
        QFETCH(QString, name);
        QFETCH(Format, content);
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
