// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/EntryListModel.h"
#include "toolkit/WindowToolkit.h"

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

    void theDetailsShowEachFigureInItsColumnAndNumbersRightAligned() {
        EntryListModel model;
        const int row = model.append();
        model.setCaption(row, "SUN.pcx");
        model.setDetails(row, std::string_view("pcx\0", 4), 1200, 300, 4096);
        const int large = model.append();
        model.setDetails(large, "lod", 1234567, 1234567, 999);
        const int empty = model.append();
        model.setDetails(empty, "txt", 0, 0, 92);
        // The details, then the note column (hidden but while a comparison or search fills it).
        QCOMPARE(model.columnCount(), brasvel::kListColumnCount + 1);
        // One number format for every figure, the window's (Polish) whatever the system's locale.
        const QStringList expected = {QStringLiteral("SUN.pcx"), QStringLiteral("PCX"),
                                      QStringLiteral("1 200"), QStringLiteral("300"),
                                      QStringLiteral("25%"), QStringLiteral("4 096"),
                                      QString(),             QString()};
        for (int column = 0; column < brasvel::kListColumnCount; ++column) {
            QCOMPARE(model.index(row, column).data().toString(), expected[column]);
            QVERIFY(!model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().isEmpty());
            const bool right =
                model.index(row, column).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight;
            QCOMPARE(right, column >= static_cast<int>(brasvel::ListColumn::Size) &&
                                column <= static_cast<int>(brasvel::ListColumn::Offset));
        }
        // An empty entry is stored whole: nothing to divide by.
        QCOMPARE(model.index(empty, static_cast<int>(brasvel::ListColumn::Ratio)).data().toString(),
                 QStringLiteral("100%"));
        QCOMPARE(model.index(large, static_cast<int>(brasvel::ListColumn::Size)).data().toString(),
                 QStringLiteral("1 234 567"));
        QCOMPARE(model.index(large, static_cast<int>(brasvel::ListColumn::Offset)).data().toString(),
                 QStringLiteral("999"));
        QVERIFY(!model.index(row, 0).data(Qt::DecorationRole).isNull());
        QVERIFY(model.index(row, 1).data(Qt::DecorationRole).isNull());
        // A folder's rows: the archive, what a winning copy shadows, a shadowed copy marked grey.
        model.setStack(row, "b.lod", 2, false);
        model.setStack(large, "a.lod", 0, true);
        const auto at = [&](int shown, brasvel::ListColumn column) {
            return model.index(shown, static_cast<int>(column));
        };
        QCOMPARE(at(row, brasvel::ListColumn::Archive).data().toString(), QStringLiteral("b.lod"));
        QCOMPARE(at(row, brasvel::ListColumn::Shadows).data().toString(),
                 QStringLiteral("zasłania: 2"));
        QCOMPARE(at(large, brasvel::ListColumn::Shadows).data().toString(),
                 QStringLiteral("zasłonięty"));
        QVERIFY(at(large, brasvel::ListColumn::Name).data(Qt::ForegroundRole).isValid());
        QVERIFY(!at(row, brasvel::ListColumn::Name).data(Qt::ForegroundRole).isValid());
        QVERIFY(at(row, brasvel::ListColumn::Name).data(Qt::ToolTipRole).toString().contains(
            QStringLiteral("b.lod, zasłania: 2")));
    }

    void theNoteColumnShowsEachRowsNoteLeftAligned() {
        EntryListModel model;
        const int row = model.append();
        model.setCaption(row, "SUN.pcx");
        model.setNoteHeader(QStringLiteral("Porównanie"));
        model.setNote(row, "zmienione");
        const int column = EntryListModel::kNoteColumn;
        QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Porównanie"));
        QCOMPARE(model.index(row, column).data().toString(), QStringLiteral("zmienione"));
        QVERIFY(!(model.index(row, column).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight));
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void sortingIsAskedOfTheWindowNotDoneByTheModel() {
        EntryListModel model;
        model.setCaption(model.append(), "B.txt");
        model.setCaption(model.append(), "A.txt");
        QSignalSpy asked(&model, &EntryListModel::sortRequested);
        model.sort(2, Qt::DescendingOrder);
        model.sort(-1, Qt::AscendingOrder);  // a header without a sort column
        model.sort(brasvel::kListColumnCount, Qt::AscendingOrder);
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked[0][0].toInt(), 2);
        QCOMPARE(asked[0][1].value<Qt::SortOrder>(), Qt::DescendingOrder);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("B.txt"));
    }

    void draggedRowsAreHandedOverAsTheFilesThatHoldThem() {
        EntryListModel model;
        for (int i = 0; i < 4; ++i) {
            model.append();
        }
        QVERIFY(model.flags(model.index(1)).testFlag(Qt::ItemIsDragEnabled));
        QCOMPARE(model.mimeTypes(), QStringList{QStringLiteral("text/uri-list")});
        QCOMPARE(model.supportedDragActions(), Qt::CopyAction);
        // No one to write the files: nothing to drag.
        QVERIFY(model.mimeData({model.index(1)}) == nullptr);

        std::vector<int> asked;
        model.dragFiles = [&](const std::vector<int>& rows) {
            asked = rows;
            QList<QUrl> urls;
            for (const int row : rows) {
                urls << QUrl::fromLocalFile(QStringLiteral("/tmp/drag/E%1.txt").arg(row));
            }
            return urls;
        };
        // A details row comes in every column; each row is asked for once, in list order.
        const std::unique_ptr<QMimeData> data(
            model.mimeData({model.index(3, 0), model.index(1, 0), model.index(1, 4),
                            model.index(3, 2)}));
        QVERIFY(data != nullptr);
        QCOMPARE(asked, (std::vector<int>{1, 3}));
        QCOMPARE(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/drag/E1.txt")),
                                            QUrl::fromLocalFile(QStringLiteral("/tmp/drag/E3.txt"))}));
        // When no file could be written there is nothing to drop.
        model.dragFiles = [](const std::vector<int>&) { return QList<QUrl>(); };
        QVERIFY(model.mimeData({model.index(0)}) == nullptr);
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
