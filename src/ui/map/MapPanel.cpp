#include "ui/map/MapPanel.h"

#include <QAction>
#include <QComboBox>
#include <QDataStream>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QSettings>
#include <QVBoxLayout>

#include <stdexcept>
#include <string>

#include "text/text.h"
#include "ui/MessageBoxes.h"
#include "ui/map/MapView.h"
#include "ui/map/TileFetcher.h"
#include "ui/map/TileSources.h"

namespace uzuviv {

namespace {

QString MapText(int item) { return QString::fromStdString(LanguageText(TextTable::MapTexts, item)); }

QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("OVRA"),
                     QStringLiteral("DAVUzuviv"));
}

} // namespace

MapPanel::MapPanel(QMainWindow& window, Document& document, DocumentView& view, PointListView& list,
                   PointCommands& points, const QString& tileCache)
    : QObject(&window), window_(window), documentView_(view), commands_(document, view, list, points)
{
    tiles_ = new TileFetcher(tileCache.isEmpty() ? TileFetcher::DefaultCacheDirectory() : tileCache, this);
    tiles_->SetTemplate(QLatin1String(DefaultTileUrl));

    dock_ = new QDockWidget(&window);
    dock_->setObjectName(QStringLiteral("MapDock"));
    view_ = new MapView(document, list, commands_, *tiles_, dock_);
    view_->SetAttribution(AttributionHtml(tiles_->Template()));
    dock_->setWidget(view_);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    connect(view_, &MapView::LinkActivated, this, [this](const QString& url) { documentView_.OpenUrl(url.toStdString()); });

    // The two Options items come from the window's command table; their handlers are ShowMap
    // and EditSettings.
    const auto action = [&window](const char* name) {
        QAction* found = window.findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (found == nullptr)
            throw std::logic_error(std::string("map: the window has no item ") + name);
        return found;
    };
    showMap_ = action("ShowMap1");
    settings_ = action("MapSettings1");
    // Closing the dock by its own button unchecks the item.
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool) {
        showMap_->setChecked(!dock_->isHidden());
    });
    ApplyLanguage();
}

MapPanel::~MapPanel() = default;

void MapPanel::ShowMap(bool visible)
{
    // The first time, the window grows by the map rather than squeezing the list.
    if (visible && !placed_) {
        placed_ = true;
        if (!window_.isMaximized() && !window_.isFullScreen()) {
            QRect frame = window_.geometry();
            // The map and the splitter beside it.
            frame.setWidth(frame.width() + DefaultWidth + 24);
            if (const QScreen* screen = window_.screen()) {
                const QRect room = screen->availableGeometry();
                frame.setWidth(std::min(frame.width(), room.width()));
                if (frame.right() > room.right())
                    frame.moveRight(room.right());
            }
            window_.setGeometry(frame);
        }
        // Once the window has its new width, the map takes the part it grew by.
        QTimer::singleShot(0, this, [this]() { window_.resizeDocks({dock_}, {DefaultWidth}, Qt::Horizontal); });
    }
    dock_->setVisible(visible);
    showMap_->setChecked(visible);
    UserSettings().setValue(QStringLiteral("Map/Visible"), visible);
}

void MapPanel::ApplyLanguage()
{
    dock_->setWindowTitle(MapText(1));
    view_->ApplyLanguage();
    view_->SetAttribution(AttributionHtml(tiles_->Template()));
}

void MapPanel::SetTileUrl(const QString& urlTemplate)
{
    tiles_->SetTemplate(urlTemplate);
    view_->SetAttribution(AttributionHtml(urlTemplate));
    view_->update();
}

QString MapPanel::TileUrl() const
{
    return tiles_->Template();
}

void MapPanel::LoadSettings()
{
    QSettings settings = UserSettings();
    const QString url = settings.value(QStringLiteral("Map/TileUrl")).toString();
    SetTileUrl(IsTileUrlTemplate(url.toStdString()) ? url : QLatin1String(DefaultTileUrl));
    const bool visible = settings.value(QStringLiteral("Map/Visible"), false).toBool();
    // The window's size with the map beside the list, and the dock's place and size in it.
    QDataStream geometry(settings.value(QStringLiteral("Map/Geometry")).toByteArray());
    quint8 version = 0;
    QSize size;
    QByteArray state;
    geometry >> version >> size >> state;
    if (geometry.status() == QDataStream::Ok && version == 1) {
        if (visible && size.isValid())
            window_.resize(size);
        placed_ = window_.restoreState(state);
    }
    dock_->setVisible(visible);
    showMap_->setChecked(visible);
}

void MapPanel::SaveSettings()
{
    QSettings settings = UserSettings();
    settings.setValue(QStringLiteral("Map/TileUrl"), tiles_->Template());
    settings.setValue(QStringLiteral("Map/Visible"), !dock_->isHidden());
    QByteArray geometry;
    QDataStream out(&geometry, QIODevice::WriteOnly);
    out << quint8{1} << (window_.isMaximized() ? window_.normalGeometry().size() : window_.size())
        << window_.saveState();
    settings.setValue(QStringLiteral("Map/Geometry"), geometry);
}

void MapPanel::EditSettings()
{
    QDialog dialog(&window_);
    dialog.setObjectName(QStringLiteral("MapSettings"));
    dialog.setWindowTitle(MapText(6));
    auto* form = new QFormLayout;
    auto* source = new QComboBox(&dialog);
    source->setObjectName(QStringLiteral("MapSource"));
    for (const TileSource& preset : TileSources())
        source->addItem(MapText(preset.NameItem), QString::fromLatin1(preset.UrlTemplate));
    source->addItem(MapText(10));
    auto* address = new QLineEdit(tiles_->Template(), &dialog);
    address->setObjectName(QStringLiteral("MapTileUrl"));
    address->setMinimumWidth(380);
    auto* credit = new QLabel(&dialog);
    credit->setObjectName(QStringLiteral("MapSourceAttribution"));
    credit->setTextFormat(Qt::RichText);
    credit->setWordWrap(true);
    form->addRow(MapText(7), source);
    form->addRow(MapText(11), address);
    form->addRow(MapText(15), credit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(LanguageText(TextTable::ButtonTexts, 1)));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromStdString(LanguageText(TextTable::ButtonTexts, 2)));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const int custom = source->count() - 1;
    const auto showCredit = [credit, address]() { credit->setText(AttributionHtml(address->text().trimmed())); };
    const int preset = source->findData(tiles_->Template());
    source->setCurrentIndex(preset >= 0 ? preset : custom);
    address->setReadOnly(preset >= 0);
    showCredit();
    connect(source, &QComboBox::currentIndexChanged, &dialog, [=](int index) {
        address->setReadOnly(index != custom);
        if (index != custom)
            address->setText(source->itemData(index).toString());
        showCredit();
    });
    connect(address, &QLineEdit::textChanged, &dialog, showCredit);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&]() {
        if (!IsTileUrlTemplate(address->text().trimmed().toStdString())) {
            ShowMessageBox(&dialog, MessageKind::Warning, MapText(14));
            address->setFocus();
            return;
        }
        dialog.accept();
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetTileUrl(address->text().trimmed());
    UserSettings().setValue(QStringLiteral("Map/TileUrl"), tiles_->Template());
}

} // namespace uzuviv
