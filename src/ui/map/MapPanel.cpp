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
#include <QStyle>
#include <QTimer>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
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

QRect WithinRoom(QRect frame, const QRect& room)
{
    frame.setWidth(std::min(frame.width(), room.width()));
    frame.setHeight(std::min(frame.height(), room.height()));
    frame.moveRight(std::min(frame.right(), room.right()));
    frame.moveLeft(std::max(frame.left(), room.left()));
    frame.moveBottom(std::min(frame.bottom(), room.bottom()));
    frame.moveTop(std::max(frame.top(), room.top()));
    return frame;
}

MapRoom RoomForMap(QRect frame, int mapWidth, int separator, int minimumMap, const QRect& room)
{
    const int base = frame.width();
    const int map = room.isValid() ? std::min(mapWidth, std::max(room.width() - base - separator, minimumMap))
                                   : mapWidth;
    frame.setWidth(base + separator + map);
    return {room.isValid() ? WithinRoom(frame, room) : frame, map};
}

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
    // Closing the dock by its own button unchecks the item; closing or floating it gives its
    // width back, docking it again takes it.
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool) {
        showMap_->setChecked(!dock_->isHidden());
        FollowDock();
    });
    connect(dock_, &QDockWidget::topLevelChanged, this, [this](bool) { FollowDock(); });
    ApplyLanguage();
}

// The map refers to the panel's commands and tile fetching: it goes first. A floating map is a
// window of its own, hidden (and told so) when it is destroyed.
MapPanel::~MapPanel()
{
    delete dock_;
}

void MapPanel::ShowMap(bool visible)
{
    dock_->setVisible(visible);
    showMap_->setChecked(visible);
    FollowDock();
    UserSettings().setValue(QStringLiteral("Map/Visible"), visible);
}

void MapPanel::FollowDock()
{
    const bool docked = !dock_->isHidden() && !dock_->isFloating();
    if (loading_ || docked == inWindow_)
        return;
    if (docked)
        WidenWindow();
    else
        NarrowWindow();
    inWindow_ = docked;
}

int MapPanel::Separator() const
{
    return window_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window_);
}

int MapPanel::WidthInWindow() const
{
    return settling_ ? grownBy_ : dock_->width() + Separator();
}

void MapPanel::WidenWindow()
{
    int map = mapWidth_;
    grownBy_ = 0;
    limited_ = false;
    if (!window_.isMaximized() && !window_.isFullScreen()) {
        const QRect frame = window_.frameGeometry();
        const QRect inner = window_.geometry();
        const QScreen* screen = window_.screen();
        const MapRoom room = RoomForMap(frame, mapWidth_, Separator(), MinimumWidth,
                                        screen != nullptr ? screen->availableGeometry() : QRect());
        map = room.MapWidth;
        limited_ = map < mapWidth_;
        grownBy_ = room.Frame.width() - frame.width();
        window_.setGeometry(room.Frame.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                                inner.right() - frame.right(), inner.bottom() - frame.bottom()));
    }
    // Once the window has its new width, the map takes the part it grew by; by then the window
    // frame is known too, so a window that grew past the screen by its frame gives that back.
    settling_ = true;
    QTimer::singleShot(0, this, [this, map]() {
        if (settling_ && inWindow_)
            window_.resizeDocks({dock_}, {map - KeepOnScreen()}, Qt::Horizontal);
        settling_ = false;
    });
}

int MapPanel::KeepOnScreen()
{
    const QScreen* screen = window_.screen();
    if (screen == nullptr || !window_.isVisible() || window_.isMaximized() || window_.isFullScreen())
        return 0;
    const QRect room = screen->availableGeometry();
    const int excess = std::max(window_.frameGeometry().width() - room.width(), 0);
    if (excess > 0) {
        window_.resize(window_.width() - excess, window_.height());
        grownBy_ -= excess;
        limited_ = true;
    }
    window_.move(WithinRoom(window_.frameGeometry(), room).topLeft());
    return excess;
}

void MapPanel::NarrowWindow()
{
    const int taken = WidthInWindow();
    if (!settling_ && !limited_)
        mapWidth_ = std::max(dock_->width(), static_cast<int>(MinimumWidth));
    settling_ = false;
    if (window_.isMaximized() || window_.isFullScreen())
        return;
    QRect inner = window_.geometry();
    inner.setWidth(std::max(inner.width() - taken, window_.minimumSizeHint().width()));
    window_.setGeometry(inner);
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

// Map/Geometry: a version byte, the window's size without the docked map, the map's width and
// the window's dock and toolbar state.
void MapPanel::LoadSettings()
{
    QSettings settings = UserSettings();
    const QString url = settings.value(QStringLiteral("Map/TileUrl")).toString();
    SetTileUrl(IsTileUrlTemplate(url.toStdString()) ? url : QLatin1String(DefaultTileUrl));
    const bool visible = settings.value(QStringLiteral("Map/Visible"), false).toBool();
    QDataStream geometry(settings.value(QStringLiteral("Map/Geometry")).toByteArray());
    quint8 version = 0;
    QSize size;
    qint32 mapWidth = 0;
    QByteArray state;
    geometry >> version >> size >> mapWidth >> state;
    loading_ = true;
    if (geometry.status() == QDataStream::Ok && version == 2) {
        if (size.isValid())
            window_.resize(size.expandedTo(window_.minimumSizeHint()));
        mapWidth_ = std::clamp(static_cast<int>(mapWidth), static_cast<int>(MinimumWidth), 4 * DefaultWidth);
        window_.restoreState(state);
    }
    dock_->setVisible(visible);
    showMap_->setChecked(visible);
    loading_ = false;
    inWindow_ = false;
    FollowDock();
    // The window starts centred, map included.
    if (const QScreen* screen = window_.screen()) {
        const QRect room = screen->availableGeometry();
        QRect frame = window_.frameGeometry();
        frame.moveCenter(room.center());
        window_.move(WithinRoom(frame, room).topLeft());
    }
}

void MapPanel::SaveSettings()
{
    QSettings settings = UserSettings();
    settings.setValue(QStringLiteral("Map/TileUrl"), tiles_->Template());
    settings.setValue(QStringLiteral("Map/Visible"), !dock_->isHidden());
    QSize size = window_.isMaximized() || window_.isFullScreen() ? window_.normalGeometry().size() : window_.size();
    if (inWindow_) {
        if (!settling_ && !limited_)
            mapWidth_ = std::max(dock_->width(), static_cast<int>(MinimumWidth));
        if (!window_.isMaximized() && !window_.isFullScreen())
            size.rwidth() -= WidthInWindow();
    }
    QByteArray geometry;
    QDataStream out(&geometry, QIODevice::WriteOnly);
    out << quint8{2} << size << qint32(mapWidth_) << window_.saveState();
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
