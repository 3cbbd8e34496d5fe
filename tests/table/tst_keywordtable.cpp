#include "TestSupport.h"

#include "table/KeywordTableModel.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QTest>

using zanthe::KeywordTableModel;

namespace {
std::array<QByteArray, 5> keywordOnly(const QByteArray& keyword)
{
    return {keyword, {}, {}, {}, {}};
}

QByteArrayList captions(const KeywordTableModel& m)
{
    QByteArrayList out;
    for (const auto& r : m.rows())
        out << r.caption;
    return out;
}
} // namespace

class TestKeywordTable final : public QObject {
    Q_OBJECT
private slots:
    void columnsAndHeaders()
    {
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.columnCount(), 6);
        QStringList headers;
        for (int c = 0; c < m.columnCount(); ++c)
            headers << m.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"No", "Keywords", "Searches", "Google", "Yahoo", "Msn"}));
    }

    void rowsKeepTheirBytesAndShowThem()
    {
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QByteArray odd("a\0b\xff\xfe", 5);
        m.appendRow("1", {odd, "1,200", "3,450,000,000", "", "x"});
        QCOMPARE(m.text(0, KeywordTableModel::KeywordText), odd);
        QCOMPARE(m.text(0, KeywordTableModel::GoogleText), QByteArray("3,450,000,000"));
        // Not UTF-8, so it is shown byte for byte as Latin-1, NUL included.
        QCOMPARE(m.data(m.index(0, KeywordTableModel::Keywords)).toString(),
                 QString::fromLatin1(odd));
        m.appendRow("2", keywordOnly("caf\xc3\xa9"));
        QCOMPARE(m.data(m.index(1, KeywordTableModel::Keywords)).toString(), QString("café"));
        // Every row has all five texts; unfilled ones are empty.
        QCOMPARE(m.data(m.index(1, KeywordTableModel::Msn)).toString(), QString());
        QCOMPARE(m.data(m.index(1, KeywordTableModel::No)).toString(), QString("2"));
    }

    void checkMarksAndEditing()
    {
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.appendRow("1", keywordOnly("golf"));
        const QModelIndex no = m.index(0, KeywordTableModel::No);
        QVERIFY(m.flags(no) & Qt::ItemIsUserCheckable);
        QVERIFY(m.flags(no) & Qt::ItemIsEditable);
        QVERIFY(!(m.flags(m.index(0, KeywordTableModel::Keywords)) & Qt::ItemIsEditable));
        QCOMPARE(m.data(no, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(m.setData(no, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(m.isChecked(0));
        // The number can be overwritten with any text; nothing checks it.
        QVERIFY(m.setData(no, QString("abc"), Qt::EditRole));
        QCOMPARE(m.row(0).caption, QByteArray("abc"));
        QVERIFY(!m.setData(m.index(0, KeywordTableModel::Keywords), QString("x"), Qt::EditRole));
    }

    void removeChecked_data()
    {
        QTest::addColumn<QList<int>>("checkedPositions");
        QTest::addColumn<QByteArrayList>("remaining");
        QTest::newRow("rows 2 and 4") << QList<int>{1, 3} << QByteArrayList{"1", "3", "5"};
        QTest::newRow("none") << QList<int>{} << QByteArrayList{"1", "2", "3", "4", "5"};
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4} << QByteArrayList{};
        QTest::newRow("runs at both ends") << QList<int>{0, 1, 4} << QByteArrayList{"3", "4"};
    }
    void removeChecked()
    {
        QFETCH(QList<int>, checkedPositions);
        QFETCH(QByteArrayList, remaining);
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 1; i <= 5; ++i)
            m.appendRow(QByteArray::number(i), keywordOnly("k" + QByteArray::number(i)));
        for (int p : checkedPositions)
            m.setChecked(p, true);
        QCOMPARE(m.removeChecked(), int(checkedPositions.size()));
        QCOMPARE(captions(m), remaining);
        for (const auto& r : m.rows()) {
            QVERIFY(!r.checked);
            QCOMPARE(r.texts[0], "k" + r.caption); // texts stayed with their row
        }
    }

    void selectAllClearAndOrder()
    {
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setAllChecked(true); // empty table: nothing happens
        QCOMPARE(m.count(), 0);
        for (int i = 1; i <= 3; ++i)
            m.appendRow(QByteArray::number(i), keywordOnly("k" + QByteArray::number(i)));
        m.setAllChecked(true);
        m.appendRow("4", keywordOnly("k4")); // added after Select All: unchecked
        QVERIFY(m.isChecked(0) && m.isChecked(2) && !m.isChecked(3));
        m.setChecked(1, false);
        // Reordering keeps number, texts and check mark together.
        m.applyOrder({3, 1, 0, 2});
        QCOMPARE(captions(m), QByteArrayList({"4", "2", "1", "3"}));
        QCOMPARE(m.text(0, 0), QByteArray("k4"));
        QVERIFY(!m.isChecked(0) && !m.isChecked(1) && m.isChecked(2) && m.isChecked(3));
        m.setAllChecked(false);
        for (int i = 0; i < m.count(); ++i)
            QVERIFY(!m.isChecked(i));
        m.clear();
        QCOMPARE(m.count(), 0);
    }

    void itemCountTexts()
    {
        QCOMPARE(QByteArray(zanthe::InitialItemCountText), QByteArray("0 item listed"));
        QCOMPARE(zanthe::itemsListedText(0), QByteArray("0 items listed"));
        QCOMPARE(zanthe::itemsListedText(1), QByteArray("1 items listed"));
        QCOMPARE(zanthe::totalText(5), QByteArray("Total: 5"));
    }

    void aMillionRows()
    {
        KeywordTableModel m;
        std::vector<zanthe::KeywordRow> rows(1'000'000);
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].caption = QByteArray::number(qulonglong(i + 1));
            rows[i].texts[0] = "keyword " + rows[i].caption;
        }
        QElapsedTimer t;
        t.start();
        m.appendRows(std::move(rows));
        QCOMPARE(m.count(), 1'000'000);
        QCOMPARE(m.data(m.index(999'999, 1)).toString(), QString("keyword 1000000"));
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    }
};

ZANTHE_TEST(TestKeywordTable)
#include "tst_keywordtable.moc"
