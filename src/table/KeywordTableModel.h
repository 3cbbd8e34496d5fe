#pragma once

#include <QAbstractTableModel>
#include <QByteArray>

#include <array>
#include <vector>

namespace zanthe {

// One keyword row: its number (caption), the five texts Keyword, Searches,
// Google, Yahoo, Msn, and its check mark. Cells are bytes exactly as put in.
struct KeywordRow {
    QByteArray caption;
    std::array<QByteArray, 5> texts;
    bool checked = false;
};

// The keyword table. Rows are plain structs (no per-row objects) so that a
// million rows cost little more than their text.
class KeywordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No = 0, Keywords, Searches, Google, Yahoo, Msn, ColumnCount };
    // Index of a row's text for a column (column k shows text k - 1).
    enum Text { KeywordText = 0, SearchesText, GoogleText, YahooText, MsnText };

    explicit KeywordTableModel(QObject* parent = nullptr);

    static QByteArray headerText(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int count() const { return static_cast<int>(m_rows.size()); }
    const KeywordRow& row(int position) const { return m_rows.at(position); }
    const std::vector<KeywordRow>& rows() const { return m_rows; }

    // Appends one row with its number (caption) and its five texts.
    void appendRow(const QByteArray& caption, const std::array<QByteArray, 5>& texts);
    // Appends many rows in one model change (imports).
    void appendRows(std::vector<KeywordRow> rows);
    void setText(int position, int textIndex, const QByteArray& text);
    QByteArray text(int position, int textIndex) const;
    void setCaption(int position, const QByteArray& caption);
    void setChecked(int position, bool checked);
    bool isChecked(int position) const { return m_rows.at(position).checked; }

    void setAllChecked(bool checked);
    // Deletes every checked row, walking from the end; returns how many.
    int removeChecked();
    void removeAt(int position);
    void clear();

    // Puts the rows in the order given: order[i] is the old position of the
    // row that ends at position i. Check marks and numbers move with rows.
    void applyOrder(const std::vector<int>& order);

private:
    std::vector<KeywordRow> m_rows;
};

// Item-count texts of the status bar.
QByteArray itemsListedText(int count); // n " items listed"
QByteArray totalText(int count);       // "Total: " n
inline constexpr const char* InitialItemCountText = "0 item listed";

} // namespace zanthe
