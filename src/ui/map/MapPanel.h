#pragma once

#include <QObject>
#include <QString>

#include "editing/MapCommands.h"

class QAction;
class QDockWidget;
class QMainWindow;

namespace uzuviv {

class MapView;
class TileFetcher;

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

    // Show Map: shows or hides the dock (the first time widening the window by it).
    void ShowMap(bool visible);
    // Map Settings...: the preset or custom template, stored when closed with OK.
    void EditSettings();

private:
    QMainWindow& window_;
    DocumentView& documentView_;
    MapCommands commands_;
    TileFetcher* tiles_ = nullptr;
    MapView* view_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QAction* showMap_ = nullptr;
    QAction* settings_ = nullptr;
    // Whether the dock has a size and place of its own yet.
    bool placed_ = false;
    static constexpr int DefaultWidth = 440;
};

} // namespace uzuviv
