#include <QSignalSpy>
#include <QTest>

#include "app/EntryListModel.h"

using brasvel::app::EntryListModel;

class EntryListModelTest : public QObject {
    Q_OBJECT
private slots:
    void rowsChangedInABulkUpdateReachTheViewOnlyAtItsEnd() {
        EntryListModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        model.beginUpdate();
        for (int i = 0; i < 15011; ++i) {
            model.setCaption(model.append(), "ENTRY.DEF");
        }
        QCOMPARE(model.size(), 15011);
        QCOMPARE(model.rowCount(), 0);
        model.endUpdate();
        QCOMPARE(model.rowCount(), 15011);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(inserts.count(), 0);
    }

    void nestedBulkUpdatesShowTheRowsWhenTheOuterOneEnds() {
        EntryListModel model;
        model.beginUpdate();
        model.beginUpdate();
        model.append();
        model.endUpdate();
        QCOMPARE(model.rowCount(), 0);
        model.endUpdate();
        QCOMPARE(model.rowCount(), 1);
        model.endUpdate();  // an unmatched end changes nothing
        QCOMPARE(model.rowCount(), 1);
    }

    void rowsChangedOutsideAnUpdateShowAtOnce() {
        EntryListModel model;
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        const int row = model.append();
        model.setImage(row, 7);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(changes.count(), 1);
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void aNewRowShowsImageZeroAndAnEmptyCaption() {
        EntryListModel model;
        const int row = model.append();
        QCOMPARE(model.image(row), 0);
        QCOMPARE(model.data(model.index(row), Qt::DisplayRole).toString(), QString());
    }

    void captionsAreDecodedFromWindows1250AndEndAtTheFirstNul_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("KnightRun.def") << QStringLiteral("KnightRun.def");
        QTest::newRow("polish letters") << QByteArray("\xA3\xF3\x64\x9F") << QStringLiteral("Łódź");
        QTest::newRow("code page, not Latin-2")
            << QByteArray("\xBC\xB9\x9C") << QStringLiteral("Ľąś");
        QTest::newRow("nul in the name")
            << QByteArray("HERO\0\0\0.pcx", 11) << QStringLiteral("HERO");
        QTest::newRow("leading nul") << QByteArray("\0ABC.txt", 8) << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("undefined byte") << QByteArray("A\x98") << QStringLiteral("A\uFFFD");
    }
    void captionsAreDecodedFromWindows1250AndEndAtTheFirstNul() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        EntryListModel model;
        const int row = model.append();
        model.setCaption(row, std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(model.data(model.index(row), Qt::DisplayRole).toString(), shown);
    }

    void rowsAreReadOnlyAndSelectable() {
        EntryListModel model;
        const int row = model.append();
        const Qt::ItemFlags flags = model.flags(model.index(row));
        QVERIFY(flags.testFlag(Qt::ItemIsSelectable));
        QVERIFY(!flags.testFlag(Qt::ItemIsEditable));
    }

    void aRowOutsideTheListIsRefused() {
        EntryListModel model;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.setCaption(0, "X"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.setImage(-1, 4));
        QCOMPARE(model.data(model.index(3), Qt::DisplayRole), QVariant());
    }
};

QTEST_MAIN(EntryListModelTest)
#include "EntryListModelTest.moc"
