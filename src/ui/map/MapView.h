#pragma once

#include <vector>

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "editing/MapCommands.h"
#include "editing/MapLayer.h"
#include "geo/WebMercator.h"
#include "ui/map/PixelRaster.h"

class QLabel;
class QMenu;
class QPainter;
class QToolButton;

namespace uzuviv {

class Document;
class PointListView;
class TileFetcher;

// The map: tiles under the project's points, each point a numbered marker coloured by its mode
// with its zone drawn true to size, overlapping zones in a warning colour. Presses and drags are
// handed to MapCommands, which decides what they change.
class MapView : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 19;
    // Drawn as plain dots, gathered by pixel, once more points than this are in view.
    static constexpr int MarkersWithNumbers = 1500;

    MapView(Document& document, PointListView& list, MapCommands& commands, TileFetcher& tiles,
            QWidget* parent = nullptr);

    // The records changed.
    void ProjectChanged();
    // A project was opened, imported or made: the view fits its points when next shown.
    void ProjectReplaced();
    // The list's selection changed: the selected markers are brought into view.
    void SelectionChanged();

    void FitAll();
    void ZoomBy(int steps, QPointF anchor);
    void SetView(LatLon centre, int zoom);
    MapViewport Viewport() const;
    int Zoom() const { return zoom_; }
    // The points as last drawn; brought up to date first.
    const MapLayer& Layer();

    // The attribution line follows the tile source and the language.
    void ApplyLanguage();
    QSize sizeHint() const override { return {440, 400}; }
    void SetAttribution(const QString& html);

signals:
    void LinkActivated(const QString& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Drag { None, Pan, Point, Rim };

    // The layer is rebuilt when next needed, so edits cost nothing while the map is hidden.
    void EnsureLayer();
    void RequestTiles();
    void ClampCentre();
    void ShowStatus(const QString& status);
    void DrawGrid(QPainter& painter, const MapViewport& view) const;
    void DrawTiles(QPainter& painter, const MapViewport& view) const;
    void DrawPoints(QPainter& painter, const MapViewport& view);
    void DrawScaleBar(QPainter& painter, const MapViewport& view) const;
    bool Dragged(QPointF at) const;

    Document& document_;
    PointListView& list_;
    MapCommands& commands_;
    TileFetcher& tiles_;
    MapLayer layer_;
    bool layerDirty_ = true;

    int zoom_ = 2;
    WorldPoint centre_{512, 512};   // world pixels at zoom_
    bool fitPending_ = true;
    bool fitUntilPainted_ = false;

    Drag drag_ = Drag::None;
    MapHit pressed_;
    bool pressSelected_ = false;
    QPointF pressAt_, lastAt_;
    WorldPoint pressCentre_;
    int wheelAngle_ = 0;

    // Gathering markers that land on the same pixels: one stamp per cell of the view.
    std::vector<quint32> cellStamps_;
    quint32 stamp_ = 0;
    // What is written pixel by pixel, laid over the map: many plain rims and dots.
    QImage overlay_;
    DiscTints tints_;

    QToolButton* zoomIn_ = nullptr;
    QToolButton* zoomOut_ = nullptr;
    QToolButton* fitAll_ = nullptr;
    QLabel* attribution_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* newPointHere_ = nullptr;
    QPointF popupAt_;
};

} // namespace uzuviv
