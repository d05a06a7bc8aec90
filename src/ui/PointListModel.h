#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "editing/RowSelection.h"

namespace uzuviv {

class Document;

// The point list's rows, formatted on demand from the current project: row i is record i.
// A million rows cost nothing until they are scrolled to.
class PointListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PointListModel(const Document& document, const int& displayMode, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Every change of the rows follows Qt's model contract: announced before the records
    // change, reported after.
    // The records are about to change as a whole (open, undo, paste...).
    void AboutToRebuild();
    // They did; without AboutToRebuild first, both at once.
    void Rebuild();
    // Rows about to be appended at the end; the records are not there yet.
    void RowsAboutToBeAppended(int first, int count);
    // The records are there now.
    void RowsAppended();
    // The rows of `rows` are about to be removed; the records are still there.
    void RowsAboutToBeRemoved(const RowSelection& rows);
    // The records are gone now.
    void RowsRemoved();
    // The texts of row `row` changed.
    void RefreshRow(int row);
    // Every row's texts changed (display mode, language); the rows themselves did not.
    void RefreshAllRows();
    void RefreshHeaders();

private:
    int RecordCount() const;
    // The record that row `row` shows: while rows are being removed, the records are still all
    // there, so the rows already announced as gone are skipped.
    std::size_t RecordIndex(int row) const;

    const Document& document_;
    // The rows the view knows of; follows the records through the notifications.
    int rows_ = 0;
    const int& displayMode_;
    bool resetting_ = false;
    int appending_ = 0;
    // The ranges announced as removed whose records are still there, in ascending order.
    std::vector<RowSelection::Range> gone_;
};

} // namespace uzuviv
