#include "KeywordTableModel.h"

#include "ByteText.h"

namespace zanthe {

namespace {
constexpr std::array<const char*, KeywordTableModel::ColumnCount> Headers = {
    "No", "Keywords", "Searches", "Google", "Yahoo", "Msn"};
}

KeywordTableModel::KeywordTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

QByteArray KeywordTableModel::headerText(int column)
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return Headers[static_cast<size_t>(column)];
}

int KeywordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int KeywordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant KeywordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const KeywordRow& r = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return toDisplay(column == No ? r.caption : r.texts[static_cast<size_t>(column - 1)]);
    case Qt::CheckStateRole:
        if (column == No)
            return r.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool KeywordTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    if (role == Qt::CheckStateRole && index.column() == No) {
        setChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    // Only the number column is editable in place; nothing checks what is typed.
    if (role == Qt::EditRole && index.column() == No) {
        setCaption(index.row(), fromUser(value.toString()));
        return true;
    }
    return false;
}

QVariant KeywordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromLatin1(headerText(section));
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags KeywordTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == No)
        f |= Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
    return f;
}

void KeywordTableModel::appendRow(const QByteArray& caption, const std::array<QByteArray, 5>& texts)
{
    const int at = count();
    beginInsertRows({}, at, at);
    m_rows.push_back(KeywordRow{caption, texts, false});
    endInsertRows();
}

void KeywordTableModel::appendRows(std::vector<KeywordRow> rows)
{
    if (rows.empty())
        return;
    const int at = count();
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (KeywordRow& r : rows)
        m_rows.push_back(std::move(r));
    endInsertRows();
}

void KeywordTableModel::setText(int position, int textIndex, const QByteArray& text)
{
    KeywordRow& r = m_rows.at(static_cast<size_t>(position));
    r.texts.at(static_cast<size_t>(textIndex)) = text;
    const QModelIndex cell = index(position, textIndex + 1);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

QByteArray KeywordTableModel::text(int position, int textIndex) const
{
    return m_rows.at(static_cast<size_t>(position)).texts.at(static_cast<size_t>(textIndex));
}

void KeywordTableModel::setCaption(int position, const QByteArray& caption)
{
    m_rows.at(static_cast<size_t>(position)).caption = caption;
    const QModelIndex cell = index(position, No);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void KeywordTableModel::setChecked(int position, bool checked)
{
    m_rows.at(static_cast<size_t>(position)).checked = checked;
    const QModelIndex cell = index(position, No);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void KeywordTableModel::setAllChecked(bool checked)
{
    if (m_rows.empty())
        return;
    for (KeywordRow& r : m_rows)
        r.checked = checked;
    emit dataChanged(index(0, No), index(count() - 1, No), {Qt::CheckStateRole});
}

int KeywordTableModel::removeChecked()
{
    int removed = 0;
    // From the end down, removing each run of checked rows in one change.
    for (int i = count() - 1; i >= 0;) {
        if (!m_rows[static_cast<size_t>(i)].checked) {
            --i;
            continue;
        }
        int first = i;
        while (first > 0 && m_rows[static_cast<size_t>(first - 1)].checked)
            --first;
        beginRemoveRows({}, first, i);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + i + 1);
        endRemoveRows();
        removed += i - first + 1;
        i = first - 1;
    }
    return removed;
}

void KeywordTableModel::removeAt(int position)
{
    if (position < 0 || position >= count())
        return;
    beginRemoveRows({}, position, position);
    m_rows.erase(m_rows.begin() + position);
    endRemoveRows();
}

void KeywordTableModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void KeywordTableModel::applyOrder(const std::vector<int>& order)
{
    Q_ASSERT(order.size() == m_rows.size());
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPosition(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        newPosition[static_cast<size_t>(order[i])] = static_cast<int>(i);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& idx : before)
        after.append(index(newPosition[static_cast<size_t>(idx.row())], idx.column()));
    changePersistentIndexList(before, after);

    std::vector<KeywordRow> sorted;
    sorted.reserve(m_rows.size());
    for (int old : order)
        sorted.push_back(std::move(m_rows[static_cast<size_t>(old)]));
    m_rows = std::move(sorted);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QByteArray itemsListedText(int count)
{
    return QByteArray::number(count) + " items listed";
}

QByteArray totalText(int count)
{
    return "Total: " + QByteArray::number(count);
}

} // namespace zanthe
