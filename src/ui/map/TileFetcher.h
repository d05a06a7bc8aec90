#pragma once

#include <functional>
#include <vector>

#include <QCache>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>

#include "geo/WebMercator.h"

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;

namespace uzuviv {

// Fetches map tiles the way public tile servers ask programs to: one stable User-Agent naming
// the program, at most two requests at once, only the tiles the view wants now (a request no
// longer wanted is aborted), a disk cache that honours the server's caching headers, and no
// request at all to a server that refused with 403 or 429 until the time it named. Failures
// are never retried in a loop and never shown as errors: the map simply lacks that tile.
class TileFetcher : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxConnections = 2;
    static constexpr qint64 DiskCacheBytes = 200LL * 1024 * 1024;
    // How long a tile stays fresh when the server says nothing about it.
    static constexpr int DefaultFreshDays = 7;
    // How long a refusing server is left alone when it names no time.
    static constexpr int DefaultPauseSeconds = 10 * 60;
    // A failed tile is not asked for again before this.
    static constexpr int FailedTileSeconds = 5 * 60;

    // `cacheDirectory`: the per-user folder the tiles are kept in.
    explicit TileFetcher(const QString& cacheDirectory, QObject* parent = nullptr);
    ~TileFetcher() override;

    static QString UserAgent();
    static QString DefaultCacheDirectory();

    // A new template forgets the tiles of the old one (the disk cache keeps them by address).
    void SetTemplate(const QString& urlTemplate);
    QString Template() const { return template_; }
    // A request that receives nothing for this long is given up.
    void SetTransferTimeout(int milliseconds);

    // The tiles wanted now, most wanted first. Requests for others are dropped or aborted.
    void Want(const std::vector<TileId>& tiles);
    // The decoded tile, or nullptr while it is not there.
    const QImage* Tile(const TileId& tile) const;

    // Why tiles are not asked for (empty while all is well).
    QString Status() const { return status_; }
    int RequestsInFlight() const { return static_cast<int>(inFlight_.size()); }

signals:
    void TileArrived();
    void StatusChanged(const QString& status);

private:
    using Key = QString;   // the tile's address
    void Pump();
    void AbortWhere(const std::function<bool(const Key&, QNetworkReply*)>& drop);
    void Finished(QNetworkReply* reply, const Key& key);
    // The server asked to be left alone: nothing more is sent to it before `until`.
    void Pause(const QString& host, const QDateTime& until, const QString& reason);
    bool Paused(const QString& host) const;
    void KeepAtLeastAWeek(QNetworkReply* reply);
    QString Url(const TileId& tile) const;

    QNetworkAccessManager* network_ = nullptr;
    QNetworkDiskCache* diskCache_ = nullptr;
    QString template_;
    int transferTimeout_ = 15000;
    std::vector<TileId> queue_;
    QHash<Key, QNetworkReply*> inFlight_;
    QHash<Key, QDateTime> failed_;
    QHash<QString, QDateTime> pausedUntil_;
    QCache<Key, QImage> images_;
    QString status_;
};

} // namespace uzuviv
