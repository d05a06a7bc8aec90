#include "ui/PointListModel.h"

#include <limits>

#include "editing/Document.h"
#include "model/CoordinateFormats.h"
#include "text/text.h"

namespace uzuviv {

PointListModel::PointListModel(const Document& document, const int& displayMode, QObject* parent)
    : QAbstractTableModel(parent), document_(document), displayMode_(displayMode)
{
}

int PointListModel::RecordCount() const
{
    if (!document_.HasProject())
        return 0;
    const auto count = document_.CurrentProject()->Records.size();
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

int PointListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int PointListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant PointListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !document_.HasProject())
        return {};
    const auto& records = document_.CurrentProject()->Records;
    const std::size_t record = RecordIndex(index.row());
    if (record >= records.size())
        return {};
    // The number is the record's: rows renumber only when told (after a removal).
    return QString::fromStdString(ListCell(records[record], record, displayMode_, index.column()));
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section > 6)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(LanguageText(TextTable::ListTexts, section + 1));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

std::size_t PointListModel::RecordIndex(int row) const
{
    auto record = static_cast<std::size_t>(row);
    for (const RowSelection::Range& range : gone_) {
        if (record < range.First)
            break;
        record += range.Last - range.First + 1;
    }
    return record;
}

void PointListModel::AboutToRebuild()
{
    if (resetting_)
        return;
    beginResetModel();
    resetting_ = true;
}

void PointListModel::Rebuild()
{
    AboutToRebuild();
    rows_ = RecordCount();
    appending_ = 0;
    gone_.clear();
    resetting_ = false;
    endResetModel();
}

void PointListModel::RowsAboutToBeAppended(int first, int count)
{
    if (count <= 0 || resetting_)
        return;
    beginInsertRows(QModelIndex(), first, first + count - 1);
    appending_ = count;
}

void PointListModel::RowsAppended()
{
    if (appending_ == 0)
        return;
    rows_ += appending_;
    appending_ = 0;
    endInsertRows();
}

void PointListModel::RowsAboutToBeRemoved(const RowSelection& rows)
{
    // A few blocks go one by one, so the list keeps its scroll position; many at once rebuild.
    const auto& ranges = rows.Ranges();
    if (ranges.size() > 64) {
        AboutToRebuild();
        return;
    }
    // From the last block to the first: the rows before a block keep their numbers, so the
    // selection that remains after each step still names the records it named.
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const int first = static_cast<int>(range->First);
        const int last = std::min(static_cast<int>(range->Last), rows_ - 1);
        if (first > last)
            continue;
        beginRemoveRows(QModelIndex(), first, last);
        rows_ -= last - first + 1;
        gone_.insert(gone_.begin(), {range->First, static_cast<std::size_t>(last)});
        endRemoveRows();
    }
}

void PointListModel::RowsRemoved()
{
    if (resetting_)
        Rebuild();
    gone_.clear();
}

void PointListModel::RefreshRow(int row)
{
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, 6), {Qt::DisplayRole});
}

void PointListModel::RefreshAllRows()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 6), {Qt::DisplayRole});
}

void PointListModel::RefreshHeaders()
{
    emit headerDataChanged(Qt::Horizontal, 0, 6);
}

} // namespace uzuviv
