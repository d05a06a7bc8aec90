#pragma once

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

    // The records changed as a whole (open, undo, paste...).
    void Rebuild();
    // Rows appended at the end; the records are already there.
    void RowsAppended(int first, int count);
    // The rows of `removed` (indices before removal) are gone from the records.
    void RowsRemoved(const RowSelection& removed);
    // The texts of row `row` changed.
    void RefreshRow(int row);
    // Every row's texts changed (display mode, language); the rows themselves did not.
    void RefreshAllRows();
    void RefreshHeaders();

private:
    int RecordCount() const;

    const Document& document_;
    // The rows the view knows of; follows the records through the insert/remove notifications,
    // which the editing layer sends after it changed the records.
    int rows_ = 0;
    const int& displayMode_;
};

} // namespace uzuviv
