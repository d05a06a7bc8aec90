#include "ui/map/MapView.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <unordered_set>

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QWheelEvent>

#include "editing/Document.h"
#include "editing/PointListView.h"
#include "text/text.h"
#include "ui/MessageBoxes.h"
#include "ui/map/PixelRaster.h"
#include "ui/map/TileFetcher.h"

namespace uzuviv {

namespace {

QString MapText(int item) { return QString::fromStdString(LanguageText(TextTable::MapTexts, item)); }

const QColor Background(0xE8, 0xE6, 0xE1);
const QColor GridLine(0xC4, 0xC0, 0xB8);
const QColor Warning(0xE0, 0x4A, 0x10);
const QColor SelectedRing(0xFF, 0xD4, 0x00);

// Track (and any unknown mode), Alarm, Free Tour.
QColor ModeColour(std::uint8_t mode)
{
    switch (mode) {
    case 2: return {0x9B, 0x2F, 0xAE};
    case 3: return {0x2E, 0x8B, 0x3E};
    default: return {0x1F, 0x5F, 0xC8};
    }
}

constexpr double DragThreshold = 3;
constexpr int GatherCell = 3;   // markers whose centres share a cell of this many pixels are one
constexpr int ZoneFillLimit = 200;   // more zones than this in view are drawn as outlines only

QString DegreesLabel(double value, bool latitude)
{
    const QChar hemisphere = latitude ? (value < 0 ? u'S' : u'N') : (value < 0 ? u'W' : u'E');
    if (std::abs(value) < 1e-9)
        return QStringLiteral("0°");
    return QString::number(std::abs(value), 'g', 8) + u'°' + hemisphere;
}

// The rim of a circle of `radius` pixels, `lines` lines one pixel wide side by side, drawn with
// a cosmetic pen, which the painter strokes directly instead of building an outline path.
// Large circles are drawn as a polygon of which only the part near the view is stroked: the
// painter would otherwise stroke the whole rim of a circle thousands of pixels across.
void DrawRim(QPainter& painter, QPointF centre, double radius, const QColor& colour, int lines)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double offset = lines > 1 ? 0.5 : 0;
    if (radius < 300) {
        painter.drawEllipse(centre, radius - offset, radius - offset);
        if (lines > 1)
            painter.drawEllipse(centre, radius + offset, radius + offset);
        return;
    }
    // As many corners as keep each side within a fifth of a pixel of the circle.
    const int corners = std::clamp(static_cast<int>(std::ceil(std::numbers::pi / std::sqrt(0.4 / radius))), 64, 4096);
    std::vector<QPointF> unit(corners);
    const double turnX = std::cos(2 * std::numbers::pi / corners), turnY = std::sin(2 * std::numbers::pi / corners);
    QPointF u(1, 0);
    for (QPointF& corner : unit) {
        corner = u;
        u = {u.x() * turnX - u.y() * turnY, u.x() * turnY + u.y() * turnX};
    }
    const QRectF near = QRectF(painter.window()).adjusted(-8, -8, 8, 8);
    for (int line = 0; line < lines; ++line) {
        const double r = radius + (line == 0 ? -offset : offset);
        const auto vertex = [&](int i) {
            const QPointF& c = unit[i % corners];
            return QPointF(centre.x() + c.x() * r, centre.y() + c.y() * r);
        };
        QPolygonF run;
        for (int i = 0; i <= corners; ++i) {
            const QPointF at = vertex(i);
            if (near.contains(at)) {
                run << at;
                continue;
            }
            if (!run.isEmpty()) {
                run << at;
                painter.drawPolyline(run);
                run.clear();
            } else if (i < corners && near.contains(vertex(i + 1))) {
                run << at;   // the side from outside into the view
            }
        }
        if (run.size() > 1)
            painter.drawPolyline(run);
    }
}

} // namespace

MapView::MapView(Document& document, PointListView& list, MapCommands& commands, TileFetcher& tiles,
                 QWidget* parent)
    : QWidget(parent), document_(document), list_(list), commands_(commands), tiles_(tiles)
{
    setObjectName(QStringLiteral("MapView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const auto button = [this](const char* name, const QString& text) {
        auto* tool = new QToolButton(this);
        tool->setObjectName(QString::fromLatin1(name));
        tool->setText(text);
        tool->setFixedSize(28, 28);
        tool->setFocusPolicy(Qt::NoFocus);
        return tool;
    };
    zoomIn_ = button("MapZoomIn", QStringLiteral("+"));
    zoomOut_ = button("MapZoomOut", QStringLiteral("\u2212"));
    fitAll_ = button("MapFitAll", QStringLiteral("\u25A3"));
    connect(zoomIn_, &QToolButton::clicked, this, [this]() { ZoomBy(1, rect().center()); });
    connect(zoomOut_, &QToolButton::clicked, this, [this]() { ZoomBy(-1, rect().center()); });
    connect(fitAll_, &QToolButton::clicked, this, &MapView::FitAll);

    attribution_ = new QLabel(this);
    attribution_->setObjectName(QStringLiteral("MapAttribution"));
    attribution_->setTextFormat(Qt::RichText);
    attribution_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    attribution_->setStyleSheet(QStringLiteral("background: rgba(255,255,255,200); padding: 1px 4px;"));
    connect(attribution_, &QLabel::linkActivated, this, &MapView::LinkActivated);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("MapStatus"));
    status_->setWordWrap(true);
    status_->setStyleSheet(QStringLiteral("background: rgba(255,244,200,230); padding: 3px;"));
    status_->hide();

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("MapPopupMenu"));
    newPointHere_ = popup_->addAction(QString());
    newPointHere_->setObjectName(QStringLiteral("MapNewPointHere"));
    connect(newPointHere_, &QAction::triggered, this, [this]() {
        const LatLon at = Viewport().ToLatLon({popupAt_.x(), popupAt_.y()});
        RunGuarded(this, [this, at]() { commands_.NewPointHere(at); });
    });

    connect(&tiles_, &TileFetcher::TileArrived, this, qOverload<>(&QWidget::update));
    connect(&tiles_, &TileFetcher::StatusChanged, this, [this](const QString& status) {
        ShowStatus(status);
        if (status.isEmpty())
            RequestTiles();
    });
    ApplyLanguage();
    ProjectChanged();
}

void MapView::ApplyLanguage()
{
    zoomIn_->setToolTip(MapText(4));
    zoomOut_->setToolTip(MapText(5));
    fitAll_->setToolTip(MapText(3));
    newPointHere_->setText(MapText(2));
}

void MapView::SetAttribution(const QString& html)
{
    attribution_->setText(html);
    attribution_->adjustSize();
    resizeEvent(nullptr);
}

void MapView::ShowStatus(const QString& status)
{
    status_->setText(status);
    status_->setVisible(!status.isEmpty());
    resizeEvent(nullptr);
}

MapViewport MapView::Viewport() const
{
    return {static_cast<double>(zoom_), centre_, static_cast<double>(width()), static_cast<double>(height())};
}

void MapView::SetView(LatLon centre, int zoom)
{
    zoom_ = std::clamp(zoom, MinZoom, MaxZoom);
    centre_ = LatLonToWorld(centre, zoom_);
    fitPending_ = false;
    ClampCentre();
    RequestTiles();
    update();
}

void MapView::ClampCentre()
{
    const double size = WorldSize(zoom_);
    centre_.X = std::clamp(centre_.X, 0.0, size);
    centre_.Y = std::clamp(centre_.Y, 0.0, size);
}

void MapView::ProjectChanged()
{
    layerDirty_ = true;
    update();
}

void MapView::EnsureLayer()
{
    if (!layerDirty_)
        return;
    layer_.Rebuild(document_.CurrentProject());
    layerDirty_ = false;
}

const MapLayer& MapView::Layer()
{
    EnsureLayer();
    return layer_;
}

void MapView::ProjectReplaced()
{
    ProjectChanged();
    if (isVisible() && width() > 0)
        FitAll();
    else
        fitPending_ = true;
}

void MapView::FitAll()
{
    EnsureLayer();
    const auto box = layer_.Bounds({});
    fitPending_ = false;
    // Until the view is first painted its size may still change as the dock settles.
    fitUntilPainted_ = true;
    if (!box)
        return;
    constexpr double margin = 40;
    const int zoom = ZoomToFit(box->SouthWest, box->NorthEast, width() - 2 * margin,
                               height() - 2 * margin, MinZoom, MaxZoom - 2);
    const WorldPoint a = LatLonToWorld(box->SouthWest, zoom), b = LatLonToWorld(box->NorthEast, zoom);
    zoom_ = zoom;
    centre_ = {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    ClampCentre();
    RequestTiles();
    update();
}

void MapView::SelectionChanged()
{
    const RowSelection selection = list_.Selection();
    if (!selection.Empty() && isVisible()) {
        EnsureLayer();
        if (const auto box = layer_.Bounds(selection)) {
            const MapViewport view = Viewport();
            const ViewPoint sw = view.ToView(box->SouthWest), ne = view.ToView(box->NorthEast);
            constexpr double margin = 20;
            const bool inView = sw.X >= margin && ne.X <= width() - margin && ne.Y >= margin &&
                                sw.Y <= height() - margin;
            if (!inView) {
                const bool fits = ne.X - sw.X <= width() - 2 * margin && sw.Y - ne.Y <= height() - 2 * margin;
                if (!fits)
                    zoom_ = ZoomToFit(box->SouthWest, box->NorthEast, width() - 2 * margin,
                                      height() - 2 * margin, MinZoom, zoom_);
                const WorldPoint a = LatLonToWorld(box->SouthWest, zoom_), b = LatLonToWorld(box->NorthEast, zoom_);
                centre_ = {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
                ClampCentre();
                RequestTiles();
            }
        }
    }
    update();
}

void MapView::ZoomBy(int steps, QPointF anchor)
{
    const int zoom = std::clamp(zoom_ + steps, MinZoom, MaxZoom);
    if (zoom == zoom_)
        return;
    // The place under the anchor stays under it.
    const double factor = std::exp2(zoom - zoom_);
    const WorldPoint corner = Viewport().TopLeft();
    const double x = (corner.X + anchor.x()) * factor, y = (corner.Y + anchor.y()) * factor;
    zoom_ = zoom;
    centre_ = {x - anchor.x() + width() / 2.0, y - anchor.y() + height() / 2.0};
    ClampCentre();
    RequestTiles();
    update();
}

void MapView::RequestTiles()
{
    if (!isVisible() || width() <= 0 || height() <= 0)
        return;
    const MapViewport view = Viewport();
    // What shows first, then one ring around it for the next pan.
    std::vector<TileId> wanted = TilesCovering(view, 0);
    for (const TileId& tile : TilesCovering(view, 1))
        if (std::find(wanted.begin(), wanted.end(), tile) == wanted.end())
            wanted.push_back(tile);
    tiles_.Want(wanted);
}

void MapView::resizeEvent(QResizeEvent*)
{
    if (fitUntilPainted_ && isVisible())
        FitAll();
    zoomIn_->move(8, 8);
    zoomOut_->move(8, 40);
    fitAll_->move(8, 72);
    // One line when it fits, else wrapped to the view's width.
    attribution_->setWordWrap(false);
    attribution_->adjustSize();
    if (attribution_->width() > width()) {
        attribution_->setWordWrap(true);
        attribution_->resize(width(), attribution_->heightForWidth(width()));
    }
    attribution_->move(width() - attribution_->width(), height() - attribution_->height());
    if (status_->isVisible()) {
        status_->setFixedWidth(std::max(100, width() - 16));
        status_->adjustSize();
        status_->move(8, height() - attribution_->height() - status_->height() - 4);
    }
    RequestTiles();
}

void MapView::showEvent(QShowEvent*)
{
    if (fitPending_)
        FitAll();
    RequestTiles();
}

void MapView::hideEvent(QHideEvent*)
{
    tiles_.Want({});
}

void MapView::paintEvent(QPaintEvent*)
{
    EnsureLayer();
    fitUntilPainted_ = false;
    QPainter painter(this);
    const MapViewport view = Viewport();
    painter.fillRect(rect(), Background);
    DrawGrid(painter, view);
    DrawTiles(painter, view);
    DrawPoints(painter, view);
    DrawScaleBar(painter, view);
}

void MapView::DrawGrid(QPainter& painter, const MapViewport& view) const
{
    const double size = WorldSize(view.Zoom);
    const WorldPoint corner = view.TopLeft();
    const double step = GridStep(size / 360, 90);
    painter.setPen(QPen(GridLine, 1));
    QFont font = painter.font();
    font.setPointSizeF(7);
    painter.setFont(font);
    const double west = std::max(-180.0, corner.X / size * 360 - 180);
    const double east = std::min(180.0, (corner.X + view.Width) / size * 360 - 180);
    for (double lon = std::ceil(west / step) * step; lon <= east; lon += step) {
        const double x = (lon + 180) / 360 * size - corner.X;
        painter.drawLine(QPointF(x, 0), QPointF(x, view.Height));
        painter.drawText(QPointF(x + 3, 12), DegreesLabel(lon, false));
    }
    const double north = view.ToLatLon({0, 0}).Latitude, south = view.ToLatLon({0, view.Height}).Latitude;
    for (double lat = std::ceil(south / step) * step; lat <= north; lat += step) {
        const double y = LatLonToWorld({lat, 0}, view.Zoom).Y - corner.Y;
        painter.drawLine(QPointF(0, y), QPointF(view.Width, y));
        painter.drawText(QPointF(44, y - 3), DegreesLabel(lat, true));
    }
}

void MapView::DrawTiles(QPainter& painter, const MapViewport& view) const
{
    const WorldPoint corner = view.TopLeft();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const TileId& tile : TilesCovering(view, 0)) {
        const QRectF target(tile.X * TileSize - corner.X, tile.Y * TileSize - corner.Y, TileSize, TileSize);
        if (const QImage* image = tiles_.Tile(tile)) {
            painter.drawImage(target, *image);
            continue;
        }
        // While a tile is missing, a part of a coarser one already there stands in for it.
        for (int up = 1; up <= 3 && tile.Zoom - up >= 0; ++up) {
            const TileId parent{tile.Zoom - up, tile.X >> up, tile.Y >> up};
            if (const QImage* image = tiles_.Tile(parent)) {
                const double part = static_cast<double>(TileSize) / (1 << up);
                const QRectF source((tile.X & ((1 << up) - 1)) * part, (tile.Y & ((1 << up) - 1)) * part, part, part);
                painter.drawImage(target, *image, source);
                break;
            }
        }
    }
}

void MapView::DrawPoints(QPainter& painter, const MapViewport& view)
{
    const std::size_t count = layer_.Count();
    if (count == 0)
        return;
    const double scale = std::exp2(view.Zoom);
    const WorldPoint corner = view.TopLeft();
    const RowSelection selection = list_.Selection();
    const bool draggingPoint = drag_ == Drag::Point && Dragged(lastAt_);
    const bool draggingRim = drag_ == Drag::Rim && Dragged(lastAt_);

    struct Visible {
        std::size_t Row;
        float X, Y, Radius;
    };
    std::vector<Visible> visible;
    const double zoneScale = std::exp2(view.Zoom);
    for (std::size_t row = 0; row < count; ++row) {
        const WorldPoint world = layer_.World(row, 0);
        double x = world.X * scale - corner.X, y = world.Y * scale - corner.Y;
        if (draggingPoint && row == pressed_.Row) {
            x = lastAt_.x();
            y = lastAt_.y();
        }
        double radius = layer_.ZoneRadius(row, 0) * zoneScale;
        if (draggingRim && row == pressed_.Row) {
            const LatLon centre = layer_.Position(row);
            const double metres = MapCommands::RimTolerance(centre, view.ToLatLon({lastAt_.x(), lastAt_.y()}));
            radius = metres / MetresPerPixel(centre.Latitude, view.Zoom);
        }
        const double reach = std::max<double>(radius, MarkerRadius + 3);
        if (x >= -reach && x <= view.Width + reach && y >= -reach && y <= view.Height + reach)
            visible.push_back({row, static_cast<float>(x), static_cast<float>(y), static_cast<float>(radius)});
    }

    const bool dense = visible.size() > MarkersWithNumbers;
    const int columns = width() / GatherCell + 3, rows = height() / GatherCell + 3;
    cellStamps_.resize(static_cast<std::size_t>(columns) * rows);
    // One drawing per cell and pass; the stamp changes instead of clearing the cells.
    const auto firstInCell = [&](const Visible& v) {
        const int cx = static_cast<int>(std::floor(v.X / GatherCell)) + 1;
        const int cy = static_cast<int>(std::floor(v.Y / GatherCell)) + 1;
        if (cx < 0 || cy < 0 || cx >= columns || cy >= rows)
            return true;
        quint32& cell = cellStamps_[static_cast<std::size_t>(cy) * columns + cx];
        if (cell == stamp_)
            return false;
        cell = stamp_;
        return true;
    };
    const auto nextPass = [&]() {
        if (++stamp_ == 0) {
            std::fill(cellStamps_.begin(), cellStamps_.end(), 0);
            stamp_ = 1;
        }
    };

    // Zones: ordinary ones, then the overlapping ones over them so no warning hides. Circles
    // that would be drawn within a pixel or two of one already drawn (same colour, centre and
    // radius close for their size) are drawn once; a rim wholly outside the view is not drawn.
    std::size_t zones = 0;
    for (const Visible& v : visible)
        zones += v.Radius >= 1.5 ? 1 : 0;
    // Many zones are drawn plainly: thin rims without smoothing or tint, still true to size,
    // written straight into an image laid over the map.
    const bool fill = zones <= ZoneFillLimit;
    painter.setRenderHint(QPainter::Antialiasing, fill);
    const double ratio = devicePixelRatioF();
    PixelRows overlay;
    // The image is cleared where it is used: wholly, or only the rows of the tints, which
    // are painted whole (transparent between them) and laid alone.
    int firstRow = 0, lastRow = -1;
    const auto useOverlay = [&](bool whole = true) -> const PixelRows& {
        if (overlay.Bits == nullptr) {
            const QSize pixels = (QSizeF(size()) * ratio).toSize();
            if (overlay_.size() != pixels)
                overlay_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
            overlay_.setDevicePixelRatio(ratio);
            if (whole)
                overlay_.fill(Qt::transparent);
            overlay = {reinterpret_cast<std::uint32_t*>(overlay_.bits()), static_cast<int>(overlay_.bytesPerLine() / 4),
                       overlay_.width(), overlay_.height()};
            firstRow = 0;
            lastRow = overlay.Height - 1;
        }
        return overlay;
    };
    const auto flushOverlay = [&]() {
        if (overlay.Bits != nullptr && firstRow <= lastRow) {
            const QRect rows(0, firstRow, overlay_.width(), lastRow - firstRow + 1);
            painter.drawImage(QRectF(QPointF(0, firstRow / ratio), QSizeF(rows.size()) / ratio), overlay_, rows);
        }
        overlay = {};
    };
    std::unordered_set<std::uint64_t> drawnZones;
    struct Rim {
        QPointF Centre;
        double Radius;
        bool Warning;
        std::uint8_t Mode;
    };
    std::vector<Rim> rims;
    // The tints of the zones are laid first, in one image, the rims over them.
    const auto modeTint = [](std::uint8_t mode) { return mode == 2 ? 1 : mode == 3 ? 2 : 0; };
    bool tinted = false;
    const auto addTint = [&](const Visible& v, int colour) {
        if (!tinted) {
            const auto tint = [](const QColor& c, int alpha) { return (static_cast<std::uint32_t>(alpha) << 24) | (c.rgb() & 0xFFFFFF); };
            const QSize pixels = (QSizeF(size()) * ratio).toSize();
            tints_.Begin(pixels.width(), pixels.height(),
                         {tint(ModeColour(1), 40), tint(ModeColour(2), 40), tint(ModeColour(3), 40), tint(Warning, 70)});
            tinted = true;
        }
        tints_.Add(v.X * ratio, v.Y * ratio, v.Radius * ratio, colour);
    };
    const double corners[4][2] = {{0, 0}, {view.Width, 0}, {0, view.Height}, {view.Width, view.Height}};
    for (int pass = 0; pass < 2; ++pass) {
        drawnZones.clear();
        for (const Visible& v : visible) {
            if (v.Radius < 1.5 || layer_.Overlaps(v.Row) != (pass == 1))
                continue;
            const double grain = fill ? std::max(2.0, v.Radius / 64.0) : std::max(4.0, v.Radius / 6.0);
            const auto key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::floor(v.X / grain))) << 40) ^
                             (static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::floor(v.Y / grain))) << 16) ^
                             (static_cast<std::uint64_t>(std::lround(std::log2(v.Radius) * 64)) << 1) ^
                             layer_.Mode(v.Row);
            if (!drawnZones.insert(key).second)
                continue;
            bool coversView = true;
            for (const auto& corner : corners)
                coversView = coversView && std::hypot(corner[0] - v.X, corner[1] - v.Y) < v.Radius - 2;
            if (fill)
                addTint(v, pass == 1 ? 3 : modeTint(layer_.Mode(v.Row)));
            if (!coversView)
                rims.push_back({QPointF(v.X, v.Y), v.Radius, pass == 1, layer_.Mode(v.Row)});
        }
    }
    if (tinted) {
        std::tie(firstRow, lastRow) = tints_.Paint(useOverlay(false));
        flushOverlay();
    }
    for (const Rim& rim : rims) {
        const QColor colour = rim.Warning ? Warning : ModeColour(rim.Mode);
        if (fill)
            DrawRim(painter, rim.Centre, rim.Radius, colour, rim.Warning ? 2 : 1);
        else
            StrokeCircle(useOverlay(), rim.Centre.x() * ratio, rim.Centre.y() * ratio, rim.Radius * ratio, colour.rgba());
    }

    if (!dense)
        flushOverlay();

    // Markers: the others first, the selected ones over them, later numbers over earlier.
    QFont font = painter.font();
    font.setPointSizeF(6.5);
    font.setBold(true);
    painter.setFont(font);
    for (int pass = 0; pass < 2; ++pass) {
        nextPass();
        const bool selectedPass = pass == 1;
        for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
            const Visible& v = *it;
            if (selection.Contains(v.Row) != selectedPass)
                continue;
            // Drawn from the last number back, so the one that shows in a gathered cell is the
            // one drawn on top, which a press takes.
            if (!firstInCell(v))
                continue;
            const QColor colour = ModeColour(layer_.Mode(v.Row));
            if (dense) {
                const PixelRows& rows = useOverlay();
                const auto square = [&](double half, QRgb pixel) {
                    const int side = static_cast<int>(std::lround(2 * half * ratio));
                    FillRect(rows, static_cast<int>(std::lround((v.X - half) * ratio)),
                             static_cast<int>(std::lround((v.Y - half) * ratio)), side, side, pixel);
                };
                if (selectedPass)
                    square(4, SelectedRing.rgba());
                square(2.5, colour.rgba());
                continue;
            }
            if (selectedPass) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(SelectedRing);
                painter.drawEllipse(QPointF(v.X, v.Y), MarkerRadius + 3, MarkerRadius + 3);
            }
            painter.setPen(QPen(Qt::white, 1.5));
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(v.X, v.Y), MarkerRadius, MarkerRadius);
            painter.setPen(Qt::white);
            painter.drawText(QRectF(v.X - MarkerRadius - 4, v.Y - MarkerRadius, 2 * MarkerRadius + 8, 2 * MarkerRadius),
                             Qt::AlignCenter, QString::number(v.Row + 1));
        }
    }

    flushOverlay();

    if (draggingRim) {
        for (const Visible& v : visible)
            if (v.Row == pressed_.Row) {
                const LatLon centre = layer_.Position(v.Row);
                const int metres = MapCommands::RimTolerance(centre, view.ToLatLon({lastAt_.x(), lastAt_.y()}));
                painter.setPen(Qt::black);
                painter.drawText(lastAt_ + QPointF(10, -6), QStringLiteral("%1 m").arg(metres));
            }
    }
}

void MapView::DrawScaleBar(QPainter& painter, const MapViewport& view) const
{
    const double latitude = view.ToLatLon({view.Width / 2, view.Height / 2}).Latitude;
    const ScaleBar bar = ScaleBarFor(latitude, view.Zoom, std::min(120.0, view.Width / 3));
    if (bar.Pixels <= 0)
        return;
    const QString label = bar.Metres >= 1000 ? QStringLiteral("%1 km").arg(bar.Metres / 1000)
                                             : QStringLiteral("%1 m").arg(bar.Metres);
    const double left = 10, base = view.Height - 10 - attribution_->height();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(left, base), QPointF(left + bar.Pixels, base));
    painter.drawLine(QPointF(left, base), QPointF(left, base - 6));
    painter.drawLine(QPointF(left + bar.Pixels, base), QPointF(left + bar.Pixels, base - 6));
    QFont font = painter.font();
    font.setPointSizeF(8);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QPointF(left + 4, base - 5), label);
}

bool MapView::Dragged(QPointF at) const
{
    return std::hypot(at.x() - pressAt_.x(), at.y() - pressAt_.y()) > DragThreshold;
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    EnsureLayer();
    pressSelected_ = false;
    pressAt_ = lastAt_ = event->position();
    pressCentre_ = centre_;
    pressed_ = document_.HasProject()
                   ? layer_.HitTest(Viewport(), {pressAt_.x(), pressAt_.y()}, list_.Selection())
                   : MapHit{};
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (pressed_.Target) {
    case MapTarget::Marker:
        drag_ = Drag::Point;
        RunGuarded(this, [this, control]() { pressSelected_ = commands_.PressMarker(pressed_.Row, control); });
        break;
    case MapTarget::Rim:
        drag_ = Drag::Rim;
        break;
    case MapTarget::None:
        drag_ = Drag::Pan;
        setCursor(Qt::ClosedHandCursor);
        break;
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (drag_ == Drag::None) {
        EnsureLayer();
        const MapHit hit = document_.HasProject()
                               ? layer_.HitTest(Viewport(), {at.x(), at.y()}, list_.Selection())
                               : MapHit{};
        setCursor(hit.Target == MapTarget::Marker ? Qt::PointingHandCursor
                  : hit.Target == MapTarget::Rim  ? Qt::SizeFDiagCursor
                                                  : Qt::OpenHandCursor);
        return;
    }
    lastAt_ = at;
    if (drag_ == Drag::Pan) {
        centre_ = {pressCentre_.X - (at.x() - pressAt_.x()), pressCentre_.Y - (at.y() - pressAt_.y())};
        ClampCentre();
        RequestTiles();
    }
    update();
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag_ == Drag::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPointF at = event->position();
    const Drag drag = drag_;
    drag_ = Drag::None;
    lastAt_ = at;
    setCursor(Qt::OpenHandCursor);
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (drag == Drag::Pan) {
        centre_ = {pressCentre_.X - (at.x() - pressAt_.x()), pressCentre_.Y - (at.y() - pressAt_.y())};
        ClampCentre();
        RequestTiles();
    } else if (Dragged(at)) {
        const LatLon place = Viewport().ToLatLon({at.x(), at.y()});
        const MapHit hit = pressed_;
        RunGuarded(this, [this, hit, place]() { commands_.DragEnd(hit, place); });
    } else if (drag == Drag::Point && !pressSelected_) {
        const std::size_t row = pressed_.Row;
        RunGuarded(this, [this, row, control]() { commands_.ClickMarker(row, control); });
    }
    update();
}

void MapView::wheelEvent(QWheelEvent* event)
{
    wheelAngle_ += event->angleDelta().y();
    const int steps = wheelAngle_ / 120;
    wheelAngle_ -= steps * 120;
    if (steps != 0)
        ZoomBy(steps, event->position());
    event->accept();
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomBy(1, rect().center());
        break;
    case Qt::Key_Minus:
        ZoomBy(-1, rect().center());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MapView::contextMenuEvent(QContextMenuEvent* event)
{
    popupAt_ = event->pos();
    newPointHere_->setEnabled(document_.HasProject());
    popup_->popup(event->globalPos());
}

} // namespace uzuviv
