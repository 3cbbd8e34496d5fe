#include "TestSupport.h"

#include "table/KeywordTableModel.h"
#include "table/Sorting.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <limits>

using namespace zanthe;

namespace {

KeywordRow row(const QByteArray& caption, const QByteArray& keyword,
               const QByteArray& searches = {}, const QByteArray& google = {})
{
    return KeywordRow{caption, {keyword, searches, google, {}, {}}, false};
}

QByteArrayList captions(const KeywordTableModel& m)
{
    QByteArrayList out;
    for (const KeywordRow& r : m.rows())
        out << r.caption;
    return out;
}

QByteArrayList keywordsInOrder(const std::vector<KeywordRow>& rows, const std::vector<int>& order)
{
    QByteArrayList out;
    for (int i : order)
        out << rows[size_t(i)].texts[0];
    return out;
}

const QLocale English(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestSorting final : public QObject {
    Q_OBJECT
private slots:
    void countValue_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("value");
        const qint64 max = std::numeric_limits<qint64>::max();
        const qint64 min = std::numeric_limits<qint64>::min();
        QTest::newRow("plain") << QByteArray("950") << qint64(950);
        QTest::newRow("thousands commas") << QByteArray("1,200") << qint64(1200);
        QTest::newRow("beyond 32 bits") << QByteArray("3,450,000,000") << qint64(3450000000);
        QTest::newRow("commas anywhere") << QByteArray(",1,,2,") << qint64(12);
        QTest::newRow("comma before sign") << QByteArray(",-5") << qint64(-5);
        QTest::newRow("leading blanks") << QByteArray("   12") << qint64(12);
        QTest::newRow("signs") << QByteArray(" -7") << qint64(-7);
        QTest::newRow("plus") << QByteArray("+7") << qint64(7);
        QTest::newRow("leading zeros") << QByteArray("007") << qint64(7);
        QTest::newRow("dollar hex") << QByteArray("$1F") << qint64(31);
        QTest::newRow("x hex") << QByteArray("x1f") << qint64(31);
        QTest::newRow("0X hex") << QByteArray("0X10") << qint64(16);
        QTest::newRow("negative hex") << QByteArray("-$10") << qint64(-16);
        QTest::newRow("hex bit pattern") << QByteArray("$FFFFFFFFFFFFFFFF") << qint64(-1);
        QTest::newRow("largest") << QByteArray("9,223,372,036,854,775,807") << max;
        QTest::newRow("smallest") << QByteArray("-9223372036854775808") << min;
        // Everything below does not convert and counts as 0.
        QTest::newRow("one past largest") << QByteArray("9223372036854775808") << qint64(0);
        QTest::newRow("far too large") << QByteArray("99999999999999999999") << qint64(0);
        QTest::newRow("17 hex digits") << QByteArray("$10000000000000000") << qint64(0);
        QTest::newRow("dot separator") << QByteArray("1.200") << qint64(0);
        QTest::newRow("empty") << QByteArray("") << qint64(0);
        QTest::newRow("only commas") << QByteArray(",,,") << qint64(0);
        QTest::newRow("letters") << QByteArray("abc") << qint64(0);
        QTest::newRow("trailing blank") << QByteArray("12 ") << qint64(0);
        QTest::newRow("inner blank") << QByteArray("1 2") << qint64(0);
        QTest::newRow("blank after sign") << QByteArray("- 3") << qint64(0);
        QTest::newRow("sign only") << QByteArray("-") << qint64(0);
        QTest::newRow("prefix only") << QByteArray("0x") << qint64(0);
        QTest::newRow("bad hex digit") << QByteArray("$1G") << qint64(0);
        QTest::newRow("tab is no blank") << QByteArray("\t5") << qint64(0);
    }

    void countValue()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, value);
        QCOMPARE(zanthe::countValue(text), value);
    }

    void compareNumbers_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("result");
        QTest::newRow("greater") << QByteArray("1,200") << QByteArray("950") << 1;
        QTest::newRow("smaller") << QByteArray("950") << QByteArray("1,200") << -1;
        QTest::newRow("both zero") << QByteArray("") << QByteArray("abc") << 0;
        QTest::newRow("64-bit count")
            << QByteArray("3,450,000,000") << QByteArray("2,147,483,647") << 1;
        QTest::newRow("negative") << QByteArray("-1") << QByteArray("") << -1;
        QTest::newRow("extremes") << QByteArray("-9223372036854775808")
                                  << QByteArray("9223372036854775807") << -1;
    }

    void compareNumbers()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, result);
        QCOMPARE(CompareNumbers(a, b), result);
    }

    void keywordCollation_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("English") << English;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    }

    void keywordCollation()
    {
        QFETCH(QLocale, locale);
        const KeywordCollation collation(locale);
        QCOMPARE(collation.compare("apple", "Apple"), 0);
        QCOMPARE(collation.compare("APPLE", "apple"), 0);
        QCOMPARE(collation.compare("apple", "Banana"), -1);
        QCOMPARE(collation.compare("Banana", "cherry"), -1);
        QCOMPARE(collation.compare("cherry", "apple"), 1);
        QCOMPARE(collation.compare("", "a"), -1);

        const std::vector<KeywordRow> rows{row("1", "cherry"), row("2", "Apple"),
                                           row("3", "Banana"), row("4", "apple")};
        // apple and Apple rank equal and keep their order in both directions.
        QCOMPARE(
            keywordsInOrder(rows, sortOrder(rows, KeywordTableModel::Keywords, true, collation)),
            QByteArrayList({"Apple", "apple", "Banana", "cherry"}));
        QCOMPARE(
            keywordsInOrder(rows, sortOrder(rows, KeywordTableModel::Keywords, false, collation)),
            QByteArrayList({"cherry", "Banana", "Apple", "apple"}));
    }

    void localeOrderBeyondAscii()
    {
        // A locale collation places accented letters with their base letter,
        // which plain code-point order does not.
        const KeywordCollation collation(English);
        const std::vector<KeywordRow> rows{row("1", "zebra"),
                                           row("2", "\xc3\x89"
                                                    "clair"),
                                           row("3", "eagle"), row("4", "fig")};
        QCOMPARE(
            keywordsInOrder(rows, sortOrder(rows, KeywordTableModel::Keywords, true, collation)),
            QByteArrayList({"eagle",
                            "\xc3\x89"
                            "clair",
                            "fig", "zebra"}));
    }

    void sortTable_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QByteArrayList>("captions");
        // Rows: 1: 1,200  2: ""  3: 950  4: abc  10: 3,450,000,000  (Searches)
        QTest::newRow("Searches ascending")
            << int(KeywordTableModel::Searches) << true << QByteArrayList{"2", "4", "3", "1", "10"};
        QTest::newRow("Searches descending") << int(KeywordTableModel::Searches) << false
                                             << QByteArrayList{"10", "1", "3", "2", "4"};
        QTest::newRow("No is numeric")
            << int(KeywordTableModel::No) << true << QByteArrayList{"1", "2", "3", "4", "10"};
        QTest::newRow("No descending")
            << int(KeywordTableModel::No) << false << QByteArrayList{"10", "4", "3", "2", "1"};
        QTest::newRow("Google all zero keeps order")
            << int(KeywordTableModel::Google) << false << QByteArrayList{"10", "1", "2", "3", "4"};
    }

    void sortTable()
    {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QByteArrayList, captions);
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.appendRows({row("10", "big", "3,450,000,000"), row("1", "one", "1,200"),
                      row("2", "two", ""), row("3", "three", "950"), row("4", "four", "abc")});
        m.setChecked(2, true); // row 2
        zanthe::sortTable(m, column, ascending);
        QCOMPARE(::captions(m), captions);
        // Numbers, texts and check marks travel with their rows.
        for (const KeywordRow& r : m.rows()) {
            QCOMPARE(r.checked, r.caption == "2");
            if (r.caption == "3")
                QVERIFY((r.texts == std::array<QByteArray, 5>{"three", "950", {}, {}, {}}));
        }
    }

    void contractions()
    {
        // In Czech "ch" is one letter, after "h".
        const KeywordCollation collation(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        const std::vector<KeywordRow> rows{row("1", "hotel"), row("2", "chata"), row("3", "cesta"),
                                           row("4", "dum")};
        QCOMPARE(
            keywordsInOrder(rows, sortOrder(rows, KeywordTableModel::Keywords, true, collation)),
            QByteArrayList({"cesta", "dum", "hotel", "chata"}));
    }

    void orderIsTheOneCompareRowsDefines_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArrayList>("keywords");
        QTest::addColumn<int>("repeat"); // rows made from each keyword in turn
        const QByteArrayList mixed{"golf",
                                   "Golf",
                                   "soccer",
                                   "",
                                   "golf clubs",
                                   "\xc3\xa9t\xc3\xa9",
                                   "Zebra",
                                   "apple",
                                   "\xff\xfe",
                                   "10",
                                   "2",
                                   "cafe noir",
                                   "caf\xc3\xa9 au lait",
                                   "a\tb",
                                   "a b",
                                   "ab",
                                   "\x01",
                                   "chata",
                                   "hotel",
                                   "cesta",
                                   "\xf0\x9f\x8e\xb1 pool"};
        QTest::newRow("C") << QLocale::c() << mixed << 3;
        QTest::newRow("English") << English << mixed << 3;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << mixed << 3;
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::CzechRepublic) << mixed << 3;
        // Far too many rows out of place for a mending pass: "ch" words
        // presort among the c words but belong after all h words.
        QTest::newRow("Czech, many contractions")
            << QLocale(QLocale::Czech, QLocale::CzechRepublic)
            << QByteArrayList{"chata", "hotel", "chyba", "hrad", "cesta", "chleba", "hora"} << 300;
        // Texts the collation ignores entirely rank above the empty text.
        QTest::newRow("only ignored characters")
            << English << QByteArrayList{"\x01", "\x02\x03", "", "\x01"} << 400;
    }

    void orderIsTheOneCompareRowsDefines()
    {
        // Every neighbour pair of the result must be in order by CompareRows,
        // and rows that rank equal must keep their old order.
        QFETCH(QLocale, locale);
        QFETCH(QByteArrayList, keywords);
        QFETCH(int, repeat);
        const QByteArrayList counts{"",    "0",    "abc", "1,200", "$10", "-5", "3,450,000,000",
                                    "12 ", "0x10", "16",  "1.200", "+16"};
        std::vector<KeywordRow> rows;
        const int n = int(keywords.size()) * repeat;
        for (int i = 0; i < n; ++i)
            rows.push_back(KeywordRow{counts[(i * 7) % counts.size()],
                                      {keywords[(i * 5) % keywords.size()],
                                       counts[i % counts.size()],
                                       counts[(i * 3) % counts.size()],
                                       {},
                                       {}},
                                      false});
        const KeywordCollation collation(locale);
        for (int column = 0; column < KeywordTableModel::ColumnCount; ++column) {
            for (bool ascending : {true, false}) {
                const std::vector<int> order = sortOrder(rows, column, ascending, collation);
                std::vector<int> seen = order;
                std::sort(seen.begin(), seen.end());
                for (int i = 0; i < n; ++i)
                    QCOMPARE(seen[size_t(i)], i);
                for (size_t i = 1; i < order.size(); ++i) {
                    const int c = CompareRows(rows[size_t(order[i - 1])], rows[size_t(order[i])],
                                              column, ascending, collation);
                    QVERIFY2(c < 0 || (c == 0 && order[i - 1] < order[i]),
                             qPrintable(QString("column %1 %2 position %3")
                                            .arg(column)
                                            .arg(ascending ? "ascending" : "descending")
                                            .arg(i)));
                }
            }
        }
    }
};

ZANTHE_TEST(TestSorting)
#include "tst_sorting.moc"
