#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QScreen>
#include <QStyle>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "model/CoordinateFormats.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FieldEdit.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"
#include "ui/map/MapPanel.h"
#include "ui/map/MapView.h"

namespace uzuviv {
namespace {

using testing::TempFolder;

const LatLon Places[] = {{47.968056, 7.909167}, {47.9685, 7.9105}, {47.95, 7.95}};

// A shown main window with the map open on a project of three points with 40 m zones; tiles
// go to a closed local port, so the map shows its grid.
class MapWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "OVRA", "DAVUzuviv").clear();
        window = std::make_unique<TForm1>(QString::fromStdString(folder / "DAVUzuviv.cfg"));
        LanguageIndex = 2;
        window->ApplyLanguage();
        window->Map()->SetTileUrl(QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Document& document = window->CurrentDocument();
        document.ResetProject();
        for (LatLon place : Places) {
            TGPSRecord record;
            record.Latitude = place.Latitude;
            record.Longitude = place.Longitude;
            record.Tolerance = 40;
            document.CurrentProject()->Records.push_back(record);
        }
        document.MarkSaved();
        window->RebuildPointList();
        window->RefreshCommands();
        Action("ShowMap1")->trigger();
        view()->SetView(Places[0], 17);
        QApplication::processEvents();
    }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    MapView* view() { return window->Map()->View(); }
    TGPSRecord& Record(std::size_t row) { return window->CurrentDocument().CurrentProject()->Records[row]; }
    QPoint Pixel(LatLon place)
    {
        const ViewPoint at = view()->Viewport().ToView(place);
        return {static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y))};
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(view(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(view(), (from + to) / 2);
        QTest::mouseRelease(view(), Qt::LeftButton, modifiers, to);
    }
    bool RowSelected(int row) { return window->PointList()->selectionModel()->isRowSelected(row); }

    TempFolder folder;
    std::unique_ptr<TForm1> window;
};

TEST_F(MapWindowTest, OptionsItemsDockAndAttributionAreKeptAcrossStarts)
{
    QAction* show = Action("ShowMap1");
    EXPECT_TRUE(show->isCheckable());
    EXPECT_TRUE(show->isChecked());
    EXPECT_EQ(show->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(show->text(), "Show Map");
    EXPECT_EQ(Action("MapSettings1")->text(), "Map Settings...");
    const QList<QAction*> options = window->findChild<QMenu*>("Options1")->actions();
    EXPECT_TRUE(options.contains(show) && options.contains(Action("MapSettings1")));
    auto* dock = window->findChild<QDockWidget*>("MapDock");
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->widget(), view());
    EXPECT_TRUE(view()->isVisible());
    // The dock's own close button unchecks the item; F8 brings the map back.
    auto* closeButton = dock->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
    ASSERT_NE(closeButton, nullptr);
    closeButton->click();
    EXPECT_TRUE(dock->isHidden());
    EXPECT_FALSE(show->isChecked());
    QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_FALSE(dock->isHidden());
    EXPECT_TRUE(show->isChecked());
    const QString credit = view()->findChild<QLabel*>("MapAttribution")->text();
    EXPECT_TRUE(credit.contains("© OpenStreetMap contributors"));
    EXPECT_TRUE(credit.contains("https://www.openstreetmap.org/copyright"));

    // The fit on a project that was just opened shows all three points.
    window->RebuildPointList();
    for (LatLon place : Places)
        EXPECT_TRUE(view()->rect().contains(Pixel(place)));

    window->CurrentDocument().MarkSaved();
    window->close();
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "OVRA", "DAVUzuviv");
    EXPECT_EQ(settings.value("Map/Visible").toBool(), true);
    EXPECT_EQ(settings.value("Map/TileUrl").toString(), "http://127.0.0.1:9/{z}/{x}/{y}.png");
    EXPECT_FALSE(settings.value("Map/Geometry").toByteArray().isEmpty());
    TForm1 again(QString::fromStdString(folder / "DAVUzuviv.cfg"));
    EXPECT_TRUE(again.findChild<QAction*>("ShowMap1")->isChecked());
    EXPECT_FALSE(again.findChild<QDockWidget*>("MapDock")->isHidden());
    EXPECT_EQ(again.Map()->TileUrl(), "http://127.0.0.1:9/{z}/{x}/{y}.png");
}

TEST_F(MapWindowTest, MarkersAndZonesLandOnTheirPixels)
{
    const QImage image = view()->grab().toImage();
    const QPoint marker = Pixel(Places[0]);
    EXPECT_LE((marker - QPoint(view()->width() / 2, view()->height() / 2)).manhattanLength(), 2);
    EXPECT_EQ(image.pixelColor(marker + QPoint(-6, 0)), QColor(0x1F, 0x5F, 0xC8));   // Track
    // 40 m at 47.97 degrees north and zoom 17: 40 / 0.79988 = 50.0 pixels.
    const double radius = view()->Layer().ZoneRadius(0, 17);
    EXPECT_NEAR(radius, 50.0, 0.1);
    const QColor inside = image.pixelColor(marker + QPoint(0, static_cast<int>(radius) - 4));
    const QColor outside = image.pixelColor(marker + QPoint(0, static_cast<int>(radius) + 4));
    EXPECT_NE(inside, outside);
    EXPECT_EQ(outside, image.pixelColor(marker + QPoint(0, static_cast<int>(radius) + 5)));
}

TEST_F(MapWindowTest, DragsClicksAndThePopupEditThroughTheHistory)
{
    const std::size_t steps = window->CurrentDocument().History.Count();
    const QPoint to = Pixel(Places[0]) + QPoint(60, -30);
    Drag(Pixel(Places[0]), to);
    const LatLon under = view()->Viewport().ToLatLon({static_cast<double>(to.x()), static_cast<double>(to.y())});
    EXPECT_NEAR(static_cast<double>(Record(0).Latitude), under.Latitude, 1e-7);
    EXPECT_NEAR(static_cast<double>(Record(0).Longitude), under.Longitude, 1e-7);
    EXPECT_EQ(window->CurrentDocument().History.Count(), steps + 1);
    EXPECT_TRUE(RowSelected(0));
    const std::string latitude = CoordinateText(Record(0).Latitude);
    EXPECT_EQ(latitude.size(), 10u) << latitude;   // seven decimals
    EXPECT_EQ(window->Panel()->Box(PanelBox::LatitudeDecimal)->text().toStdString(), latitude);

    // The rim: only the tolerance changes.
    const LatLon moved{static_cast<double>(Record(0).Latitude), static_cast<double>(Record(0).Longitude)};
    const int radius = static_cast<int>(view()->Layer().ZoneRadius(0, 17));
    Drag(Pixel(moved) + QPoint(radius, 0), Pixel(moved) + QPoint(radius + 25, 0));
    EXPECT_EQ(Record(0).Tolerance, MapCommands::RimTolerance(moved, view()->Viewport().ToLatLon(
                                       {static_cast<double>(Pixel(moved).x() + radius + 25),
                                        static_cast<double>(Pixel(moved).y())})));
    EXPECT_NEAR(Record(0).Tolerance, 60, 1);
    EXPECT_EQ(static_cast<double>(Record(0).Latitude), moved.Latitude);
    EXPECT_EQ(window->CurrentDocument().History.Count(), steps + 2);
    Action("Undo1")->trigger();
    EXPECT_EQ(Record(0).Tolerance, 40);
    Action("Undo1")->trigger();
    EXPECT_FALSE(window->CurrentDocument().IsProjectModified());

    // Clicks select like the list; selecting a far row brings it into view.
    QTest::mouseClick(view(), Qt::LeftButton, {}, Pixel(Places[1]));
    EXPECT_TRUE(RowSelected(1) && !RowSelected(0));
    QTest::mouseClick(view(), Qt::LeftButton, Qt::ControlModifier, Pixel(Places[0]));
    EXPECT_TRUE(RowSelected(1) && RowSelected(0));
    window->PointList()->selectRow(2);
    EXPECT_TRUE(view()->rect().contains(Pixel(Places[2])));

    // "New point here" at the place under the right-click.
    const QPoint here(30, 200);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, here, view()->mapToGlobal(here));
    QApplication::sendEvent(view(), &menu);
    const LatLon place = view()->Viewport().ToLatLon({30, 200});
    view()->findChild<QAction*>("MapNewPointHere")->trigger();
    ASSERT_EQ(window->CurrentDocument().CurrentProject()->Records.size(), 4u);
    EXPECT_NEAR(static_cast<double>(Record(3).Latitude), place.Latitude, 1e-7);
    EXPECT_TRUE(RowSelected(3));
    view()->findChild<QMenu*>("MapPopupMenu")->close();

    window->CurrentDocument().CurrentProject()->Records.resize(150);
    window->RebuildPointList();
    QString message;
    testing::WhenModal([&message](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        message = box->text();
        box->accept();
    });
    view()->findChild<QAction*>("MapNewPointHere")->trigger();
    EXPECT_EQ(message, "Project full, you cannot add more new GPS record!");
    EXPECT_EQ(window->CurrentDocument().CurrentProject()->Records.size(), 150u);
}

TEST(MapRoomTest, TheWindowGrowsByTheMapWithinTheScreen)
{
    const struct {
        const char* name;
        QRect frame;
        QRect screen;
        QRect grown;
        int map;
    } cases[] = {
        {"centred window moves left", {240, 137, 800, 625}, {0, 0, 1280, 900}, {34, 137, 1246, 625}, 440},
        {"narrow screen: the map gets the rest", {112, 71, 800, 625}, {0, 0, 1024, 768}, {0, 71, 1024, 625}, 218},
        {"screen narrower than the window and a small map", {0, 0, 800, 625}, {0, 0, 800, 600}, {0, 0, 800, 600}, 160},
        {"taller than the screen", {0, 200, 800, 900}, {0, 30, 1280, 770}, {0, 30, 1246, 770}, 440},
        {"no screen known", {240, 137, 800, 625}, {}, {240, 137, 1246, 625}, 440},
    };
    for (const auto& c : cases) {
        const MapRoom room = RoomForMap(c.frame, 440, 6, 160, c.screen);
        EXPECT_EQ(room.Frame, c.grown) << c.name;
        EXPECT_EQ(room.MapWidth, c.map) << c.name;
    }
}

// Starts with the map kept visible: the list and the panel have the window's own width, the map
// its kept width beside them, all on the screen; F8 gives the map's width back and takes it
// again, and floating and docking the map do the same.
TEST(MapStartTest, ListPanelAndMapKeepTheirSizesAcrossStarts)
{
    constexpr int ListAndPanel = 800;
    const struct {
        const char* name;
        int keptWidth;   // the map's width in a first run, 0: that run ended before keeping it
        bool floated;
        int mapWidth;    // -1: what the screen leaves
    } cases[] = {
        {"only Map/Visible kept", 0, false, 440},
        {"map made narrower", 300, false, 300},
        {"map made wider", 460, false, 460},
        {"map wider than the screen has room for", 600, false, -1},
        {"map left floating", 300, true, 300},
    };
    const auto settle = []() {
        for (int i = 0; i < 3; ++i)
            QTest::qWait(20);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const QString cfg = QString::fromStdString(folder / "DAVUzuviv.cfg");
        QSettings(QSettings::IniFormat, QSettings::UserScope, "OVRA", "DAVUzuviv").clear();
        QSettings(QSettings::IniFormat, QSettings::UserScope, "OVRA", "DAVUzuviv").setValue("Map/Visible", true);
        if (c.keptWidth > 0) {
            TForm1 first(cfg);
            first.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
            first.resize(first.width() - 440 + c.keptWidth, first.height());
            settle();
            first.resizeDocks({first.Map()->Dock()}, {c.keptWidth}, Qt::Horizontal);
            settle();
            if (c.floated)
                first.Map()->Dock()->setFloating(true);
            settle();
            first.close();
        }
        TForm1 window(cfg);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        settle();
        QDockWidget* dock = window.Map()->Dock();
        const QRect screen = window.screen()->availableGeometry();
        const int separator = window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window);
        const auto expectShown = [&](const char* when) {
            SCOPED_TRACE(when);
            const int frame = window.frameGeometry().width() - window.width();
            const int map = c.mapWidth >= 0 ? c.mapWidth : screen.width() - frame - ListAndPanel - separator;
            EXPECT_FALSE(dock->isHidden());
            EXPECT_EQ(window.centralWidget()->width(), ListAndPanel);
            EXPECT_EQ(dock->width(), map);
            EXPECT_EQ(dock->isFloating(), c.floated);
            EXPECT_EQ(window.width(), ListAndPanel + (c.floated ? 0 : separator + map));
            EXPECT_TRUE(screen.contains(window.frameGeometry()));
        };
        expectShown("at start");
        QTest::keyClick(&window, Qt::Key_F8);
        settle();
        EXPECT_TRUE(dock->isHidden());
        EXPECT_EQ(window.width(), ListAndPanel);
        EXPECT_EQ(window.centralWidget()->width(), ListAndPanel);
        QTest::keyClick(&window, Qt::Key_F8);
        settle();
        expectShown("hidden and shown again");
        dock->setFloating(!c.floated);
        settle();
        EXPECT_EQ(window.width(), ListAndPanel + (c.floated ? separator + c.mapWidth : 0));
        EXPECT_EQ(window.centralWidget()->width(), ListAndPanel);
        dock->setFloating(c.floated);
        settle();
        expectShown("floated or docked and back");
        window.close();
    }
}

} // namespace
} // namespace uzuviv
