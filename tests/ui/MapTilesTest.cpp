#include <memory>
#include <set>
#include <tuple>

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/FakeView.h"
#include "ui/TileServer.h"
#include "ui/map/MapView.h"
#include "ui/map/TileFetcher.h"

namespace uzuviv {
namespace {

using testing::TempFolder;
using testing::TileServer;

// A map in a window of its own, fetching from the test's server into the test's cache.
struct Map {
    Map(const TempFolder& folder, const QString& urlTemplate)
        : tiles(QString::fromStdString(folder / "tiles"))
    {
        document.ResetProject();
        tiles.SetTransferTimeout(400);
        tiles.SetTemplate(urlTemplate);
        view.resize(512, 384);
        view.SetView({48.0, 8.0}, 5);
        view.show();
    }

    std::set<std::tuple<int, std::int64_t, std::int64_t>> Requested(const TileServer& server) const
    {
        std::set<std::tuple<int, std::int64_t, std::int64_t>> tiles;
        for (const TileServer::Request& request : server.Requests) {
            const QStringList parts = request.Path.split(u'/', Qt::SkipEmptyParts);
            tiles.insert({parts[0].toInt(), parts[1].toLongLong(), parts[2].section(u'.', 0, 0).toLongLong()});
        }
        return tiles;
    }

    bool TileShows() { return view.grab().toImage().pixelColor(256, 192) == TileServer::TileColour(); }

    Document document;
    testing::FakeView fake;
    PointCommands points{document, fake, fake};
    MapCommands commands{document, fake, fake, points};
    TileFetcher tiles;
    MapView view{document, fake, commands, tiles};
};

TEST(MapTilesTest, TheViewAndOneRingAreAskedForPolitelyAndASecondLookComesFromTheCache)
{
    TileServer server;
    TempFolder folder;
    {
        Map map(folder, server.Template());
        ASSERT_TRUE(QTest::qWaitFor([&]() { return server.Requests.size() >= 16 && map.tiles.RequestsInFlight() == 0; }, 10000));
        QTest::qWait(100);
        std::set<std::tuple<int, std::int64_t, std::int64_t>> visible, withRing;
        for (const TileId& t : TilesCovering(map.view.Viewport(), 0))
            visible.insert({t.Zoom, t.X, t.Y});
        for (const TileId& t : TilesCovering(map.view.Viewport(), 1))
            withRing.insert({t.Zoom, t.X, t.Y});
        const auto requested = map.Requested(server);
        EXPECT_TRUE(std::includes(requested.begin(), requested.end(), visible.begin(), visible.end()));
        EXPECT_TRUE(std::includes(withRing.begin(), withRing.end(), requested.begin(), requested.end()));
        EXPECT_EQ(server.Requests.size(), requested.size()) << "a tile was asked for twice";
        const QRegularExpression agent(R"(^DAVUzuviv/\d+(\.\d+)+ \(\+https://www\.ovra\.example/\)$)");
        for (const TileServer::Request& request : server.Requests)
            EXPECT_TRUE(agent.match(QString::fromLatin1(request.UserAgent)).hasMatch()) << request.UserAgent.constData();
        EXPECT_LE(server.MostOpenAtOnce, 2);
        EXPECT_TRUE(map.TileShows());
    }
    const std::size_t asked = server.Requests.size();
    Map again(folder, server.Template());
    ASSERT_TRUE(QTest::qWaitFor([&]() { return again.TileShows(); }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(server.Requests.size(), asked);
}

TEST(MapTilesTest, FailedTilesLeaveTheGridWithoutAMessageOrASecondTry)
{
    TileServer server;
    int n = 0;
    server.Answer = [&n](const QString&) {
        const TileServer::Reply replies[] = {TileServer::Reply::NotFound, TileServer::Reply::Close,
                                             TileServer::Reply::Stall};
        return replies[n++ % 3];
    };
    TempFolder folder;
    Map map(folder, server.Template());
    const QImage empty = [&] {
        Map blank(folder, QString());
        return blank.view.grab().toImage();
    }();
    ASSERT_TRUE(QTest::qWaitFor([&]() { return server.Requests.size() >= 16 && map.tiles.RequestsInFlight() == 0; }, 10000));
    map.view.update();
    QTest::qWait(100);
    // The map beside the zoom buttons, whose shading follows the active window.
    const auto ground = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_RGB32).copy(40, 0, image.width() - 40, image.height());
    };
    EXPECT_EQ(ground(map.view.grab().toImage()), ground(empty));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(map.tiles.Status().isEmpty());
    // Panning back and forth asks for no tile that already failed.
    const std::size_t asked = server.Requests.size();
    map.view.SetView({48.0, 8.01}, 5);
    map.view.SetView({48.0, 8.0}, 5);
    QTest::qWait(300);
    EXPECT_EQ(server.Requests.size(), asked);
}

TEST(MapTilesTest, TooManyRequestsStopsAllRequestsForTheTimeTheServerNames)
{
    TileServer server;
    server.Answer = [](const QString&) { return TileServer::Reply::TooMany; };
    server.RetryAfter = "2";
    TempFolder folder;
    Map map(folder, server.Template());
    ASSERT_TRUE(QTest::qWaitFor([&]() { return !map.tiles.Status().isEmpty(); }, 5000));
    EXPECT_TRUE(map.tiles.Status().contains(QStringLiteral("429 Too Many Requests")));
    EXPECT_TRUE(map.view.findChild<QLabel*>(QStringLiteral("MapStatus"))->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const std::size_t asked = server.Requests.size();
    EXPECT_LE(asked, 2u);
    map.view.SetView({10.0, 10.0}, 7);
    QTest::qWait(1000);
    EXPECT_EQ(server.Requests.size(), asked);

    server.Answer = [](const QString&) { return TileServer::Reply::Tile; };
    ASSERT_TRUE(QTest::qWaitFor([&]() { return map.TileShows(); }, 5000));
    EXPECT_TRUE(map.tiles.Status().isEmpty());
    EXPECT_FALSE(map.view.findChild<QLabel*>(QStringLiteral("MapStatus"))->isVisible());
}

} // namespace
} // namespace uzuviv
