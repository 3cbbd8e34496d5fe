#pragma once

#include "KeywordTableModel.h"

#include <QByteArray>
#include <QCollator>
#include <QLocale>

#include <vector>

namespace zanthe {

// The number a count cell stands for when sorting: commas are removed,
// then the text is read as a signed 64-bit integer: leading blanks, an
// optional sign, decimal digits, or hexadecimal after "$", "x" or "0x".
// Anything that does not convert whole (empty, other characters, trailing
// blanks, out of range) counts as 0.
qint64 countValue(const QByteArray& text);

// +1, 0 or -1 as a's count is greater than, equal to or smaller than b's.
int CompareNumbers(const QByteArray& a, const QByteArray& b);

// Keyword order: the user's locale, letter case ignored.
class KeywordCollation final {
public:
    explicit KeywordCollation(const QLocale& locale = QLocale());

    int compare(const QByteArray& a, const QByteArray& b) const;
    int compareText(QStringView a, QStringView b) const;

    const QCollator& collator() const { return m_collator; }

private:
    QCollator m_collator;
};

// Negative when row1 goes before row2, 0 when they rank equal, positive
// when row1 goes after: column 0 compares numbers, column 1 keywords,
// columns 2 to 5 the counts. Descending negates.
int CompareRows(const KeywordRow& row1, const KeywordRow& row2, int column, bool ascending,
                const KeywordCollation& keywords);

// The order CompareRows defines, as for KeywordTableModel::applyOrder.
// Rows that rank equal keep their present order. Each cell is converted
// once, not once per comparison, which is what makes a million rows quick.
std::vector<int> sortOrder(const std::vector<KeywordRow>& rows, int column, bool ascending,
                           const KeywordCollation& keywords);

// Sorts the table in place by one column in the user's locale.
void sortTable(KeywordTableModel& model, int column, bool ascending);

} // namespace zanthe
