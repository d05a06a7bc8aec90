#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include "editing/MapCommands.h"

class QAction;
class QDockWidget;
class QMainWindow;

namespace uzuviv {

class MapView;
class TileFetcher;

// `frame` moved, and cut where it is larger, to lie inside `room`.
QRect WithinRoom(QRect frame, const QRect& room);

// Where the window goes when the docked map (`mapWidth` and the `separator` before it) is
// added beside its `frame`, inside the screen's available `room`: it grows to the right and
// moves left only as far as it must. On a screen too narrow for both, the map gets what is
// left, down to `minimumMap`, before the rest of the window gives way.
struct MapRoom {
    QRect Frame;
    int MapWidth = 0;
};
MapRoom RoomForMap(QRect frame, int mapWidth, int separator, int minimumMap, const QRect& room);

// The map beside the point list: the dock `MapDock` holding `MapView`, the tile fetching, the
// handlers of the window's Show Map and Map Settings... items, and the per-user settings that
// keep the map's tile address, visibility and place from one run to the next.
class MapPanel : public QObject {
    Q_OBJECT
public:
    // `tileCache`: the folder of the tile disk cache; empty for the per-user cache folder.
    MapPanel(QMainWindow& window, Document& document, DocumentView& view, PointListView& list,
             PointCommands& points, const QString& tileCache = QString());
    ~MapPanel() override;

    QDockWidget* Dock() const { return dock_; }
    MapView* View() const { return view_; }
    TileFetcher* Tiles() const { return tiles_; }
    MapCommands& Commands() { return commands_; }
    // The window's checkable Show Map item (ShowMap1, F8) and Map Settings... (MapSettings1);
    // the window must have made both before the panel.
    QAction* ShowMapAction() const { return showMap_; }
    QAction* SettingsAction() const { return settings_; }

    void SetTileUrl(const QString& urlTemplate);
    QString TileUrl() const;

    // Reads Map/TileUrl, Map/Visible and Map/Geometry; call once the window's docks exist.
    void LoadSettings();
    void SaveSettings();
    void ApplyLanguage();

    // Show Map: shows or hides the dock; the window grows by the docked map and gives the width
    // back when it is hidden or floats, so the list and the panel keep their size.
    void ShowMap(bool visible);
    // Map Settings...: the preset or custom template, stored when closed with OK.
    void EditSettings();

private:
    // Widens or narrows the window when the docked map comes or goes.
    void FollowDock();
    void WidenWindow();
    void NarrowWindow();
    // Fits the shown window's frame into the screen; returns the width it had to give up.
    int KeepOnScreen();
    // The width the docked map takes from the window, separator included.
    int WidthInWindow() const;
    int Separator() const;

    QMainWindow& window_;
    DocumentView& documentView_;
    MapCommands commands_;
    TileFetcher* tiles_ = nullptr;
    MapView* view_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QAction* showMap_ = nullptr;
    QAction* settings_ = nullptr;
    // The docked map's width, kept while it is hidden or floats.
    int mapWidth_ = DefaultWidth;
    // Whether the window's width holds the docked map.
    bool inWindow_ = false;
    // Until the map has taken the width the window grew by, the dock's own width says nothing.
    bool settling_ = false;
    // The screen left the map less than it wanted; its wanted width stays kept.
    bool limited_ = false;
    int grownBy_ = 0;
    bool loading_ = false;
    static constexpr int DefaultWidth = 440;
    static constexpr int MinimumWidth = 160;
};

} // namespace uzuviv
