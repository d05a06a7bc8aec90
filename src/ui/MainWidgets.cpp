#include "ui/MainWidgets.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/EditorPanel.h"
#include "ui/PointListModel.h"

namespace uzuviv {

namespace {

QTableView* CreatePointList(QWidget* parent, PointListModel* model)
{
    auto* listView = new QTableView(parent);
    listView->setObjectName(QStringLiteral("ListView1"));
    listView->setModel(model);
    listView->setShowGrid(true);
    listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView->setSortingEnabled(false);
    listView->setWordWrap(false);
    listView->setContextMenuPolicy(Qt::PreventContextMenu);
    listView->verticalHeader()->hide();
    listView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    listView->verticalHeader()->setDefaultSectionSize(listView->fontMetrics().height() + 4);
    listView->horizontalHeader()->setSectionsClickable(false);
    listView->horizontalHeader()->setHighlightSections(false);
    listView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The selection stays visible while the focus is in the editor panel.
    QPalette listPalette = listView->palette();
    listPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                         listPalette.color(QPalette::Active, QPalette::Highlight));
    listPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         listPalette.color(QPalette::Active, QPalette::HighlightedText));
    listView->setPalette(listPalette);
    // Widths measured once, in the list's own font, when the columns are made.
    const QFontMetrics metrics = listView->fontMetrics();
    const int widths[] = {
        metrics.horizontalAdvance(QString::fromUtf8("N°")) + 16,
        metrics.horizontalAdvance(QStringLiteral("+XXX.XX.XX.XXXX")) + 16,
        metrics.horizontalAdvance(QStringLiteral("+XXX.XX.XX.XXXX")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Tolerance")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Parcours")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Fichier")) + 16,
        32 * metrics.horizontalAdvance(QStringLiteral("X")) + 16,
    };
    for (int column = 0; column < 7; ++column)
        listView->setColumnWidth(column, widths[column]);
    return listView;
}

} // namespace

CentralWidgets CreateCentralWidgets(QMainWindow* window, PointListModel* model)
{
    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* listArea = new QWidget(central);
    listArea->setObjectName(QStringLiteral("Panel1"));
    listArea->setAutoFillBackground(true);
    QPalette palette = listArea->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    listArea->setPalette(palette);
    auto* listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    QTableView* list = CreatePointList(listArea, model);
    listLayout->addWidget(list);
    layout->addWidget(listArea, 1);

    auto* editorArea = new QScrollArea(central);
    editorArea->setObjectName(QStringLiteral("ScrollBox1"));
    editorArea->setFrameShape(QFrame::NoFrame);
    editorArea->setFixedHeight(245);
    auto* panel = new EditorPanel(editorArea);
    editorArea->setWidget(panel);
    layout->addWidget(editorArea);
    window->setCentralWidget(central);
    return {list, panel};
}

void ShowListAndPanel(QTableView& list, EditorPanel& panel, const CommandStates& states)
{
    list.setVisible(states.ListAndPanelVisible);
    panel.setVisible(states.ListAndPanelVisible);
    if (states.ListAndPanelVisible) {
        panel.SetButtonStates(states.SetData, states.PanelNew);
        panel.ArrangeCoordinateFields(states.DecimalFields, states.MinutesOnly);
    }
}

RowSelection SelectedRows(const QTableView& list)
{
    RowSelection selection;
    if (list.selectionModel() == nullptr)
        return selection;
    for (const QItemSelectionRange& range : list.selectionModel()->selection())
        if (range.isValid() && range.top() >= 0)
            selection.Add(static_cast<std::size_t>(range.top()), static_cast<std::size_t>(range.bottom()));
    return selection;
}

void SelectRows(QTableView& list, const RowSelection& rows)
{
    const QAbstractItemModel* model = list.model();
    QItemSelection selected;
    for (const RowSelection::Range& range : rows.Ranges())
        selected.select(model->index(static_cast<int>(range.First), 0),
                        model->index(static_cast<int>(range.Last), 6));
    QItemSelectionModel* selection = list.selectionModel();
    if (!rows.Empty())
        selection->setCurrentIndex(model->index(static_cast<int>(*rows.FirstRow()), 0),
                                   QItemSelectionModel::NoUpdate);
    selection->select(selected, QItemSelectionModel::ClearAndSelect);
}

std::optional<std::size_t> RowAt(const QTableView& list, int y)
{
    const int row = list.rowAt(y);
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

int ColumnAt(const QTableView& list, int x)
{
    const int position = x + list.horizontalScrollBar()->value();
    int edge = 0;
    for (int column = 0; column < 7; ++column) {
        const int next = edge + list.columnWidth(column);
        if (position >= edge && position < next)
            return column;
        edge = next;
    }
    return -1;
}

std::array<QAction*, 5> AddRecentFileSlots(QMenu* fileMenu)
{
    std::array<QAction*, 5> items = {};
    fileMenu->addSeparator();
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
        items[slot] = fileMenu->addAction(QString());
        items[slot]->setObjectName(QStringLiteral("RecentFile%1").arg(slot + 1));
        items[slot]->setVisible(false);
    }
    return items;
}

void ShowRecentFiles(const std::array<QAction*, 5>& items, const std::vector<RecentFiles::Slot>& entries)
{
    for (QAction* item : items)
        item->setVisible(false);
    for (std::size_t k = 0; k < entries.size() && k < items.size(); ++k) {
        QString caption = QString::fromStdString(entries[k].Caption);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        items[k]->setText(caption);
        items[k]->setData(QVariant::fromValue<qulonglong>(entries[k].Position));
        items[k]->setVisible(true);
    }
}

QTimer* CreateHighlightTimer(QObject* parent)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setSingleShot(true);
    timer->setInterval(5000);
    return timer;
}

QButtonGroup* AddDisplayModeButtons(QToolBar* toolBar)
{
    auto* modes = new QWidget(toolBar);
    modes->setObjectName(QStringLiteral("Panel5"));
    modes->setFixedSize(121, 34);
    auto* grid = new QGridLayout(modes);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setSpacing(0);
    auto* displayModes = new QButtonGroup(toolBar);
    const struct { const char* name; const char* caption; int tag, row, column; } radios[] = {
        {"mxFlatRadioButton3", "D.d", 1, 0, 0}, {"mxFlatRadioButton1", "DM.d", 2, 0, 1},
        {"mxFlatRadioButton5", "DMS.d", 3, 1, 0}, {"mxFlatRadioButton6", "DMS", 4, 1, 1}};
    for (const auto& r : radios) {
        auto* radio = new QRadioButton(QString::fromLatin1(r.caption), modes);
        radio->setObjectName(QString::fromLatin1(r.name));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(8);
        radio->setFont(font);
        displayModes->addButton(radio, r.tag);
        grid->addWidget(radio, r.row, r.column);
    }
    toolBar->addWidget(modes);
    return displayModes;
}

} // namespace uzuviv
