#include "ui/map/TileFetcher.h"

#include <algorithm>

#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QTimer>
#include <QTimeZone>
#include <QUrl>

#include "text/text.h"

#ifndef UZUVIV_VERSION
#error "UZUVIV_VERSION comes from the CMake project version"
#endif

namespace uzuviv {

namespace {

constexpr int TilesKeptDecoded = 192;

// Retry-After holds either seconds or an HTTP date.
QDateTime RetryAfter(const QByteArray& value, const QDateTime& now)
{
    bool number = false;
    const qint64 seconds = value.trimmed().toLongLong(&number);
    if (number && seconds >= 0)
        return now.addSecs(seconds);
    QDateTime date = QLocale::c().toDateTime(QString::fromLatin1(value.trimmed()),
                                             QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (date.isValid()) {
        date.setTimeSpec(Qt::UTC);
        return date;
    }
    return {};
}

} // namespace

TileFetcher::TileFetcher(const QString& cacheDirectory, QObject* parent)
    : QObject(parent), images_(TilesKeptDecoded)
{
    network_ = new QNetworkAccessManager(this);
    diskCache_ = new QNetworkDiskCache(this);
    diskCache_->setCacheDirectory(cacheDirectory);
    diskCache_->setMaximumCacheSize(DiskCacheBytes);
    network_->setCache(diskCache_);
}

TileFetcher::~TileFetcher()
{
    AbortWhere([](const Key&, QNetworkReply*) { return true; });
}

QString TileFetcher::UserAgent()
{
    return QStringLiteral("DAVUzuviv/" UZUVIV_VERSION " (+https://www.ovra.example/)");
}

QString TileFetcher::DefaultCacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/OVRA/DAVUzuviv/tiles");
}

void TileFetcher::SetTemplate(const QString& urlTemplate)
{
    if (urlTemplate == template_)
        return;
    Want({});
    template_ = urlTemplate;
    images_.clear();
    failed_.clear();
    if (!status_.isEmpty() && !Paused(QUrl(template_).host())) {
        status_.clear();
        emit StatusChanged(status_);
    }
}

void TileFetcher::SetTransferTimeout(int milliseconds)
{
    transferTimeout_ = milliseconds;
}

QString TileFetcher::Url(const TileId& tile) const
{
    return QString::fromStdString(TileUrl(template_.toStdString(), tile));
}

const QImage* TileFetcher::Tile(const TileId& tile) const
{
    return images_.object(Url(tile));
}

void TileFetcher::Want(const std::vector<TileId>& tiles)
{
    queue_.clear();
    QHash<Key, bool> wanted;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const TileId& tile : tiles) {
        const Key key = Url(tile);
        wanted.insert(key, true);
        const auto failure = failed_.constFind(key);
        if (failure != failed_.constEnd() && failure->secsTo(now) < FailedTileSeconds)
            continue;
        if (!images_.contains(key) && !inFlight_.contains(key))
            queue_.push_back(tile);
    }
    AbortWhere([&wanted](const Key& key, QNetworkReply*) { return !wanted.contains(key); });
    Pump();
}

void TileFetcher::AbortWhere(const std::function<bool(const Key&, QNetworkReply*)>& drop)
{
    std::vector<QNetworkReply*> dropped;
    for (auto it = inFlight_.begin(); it != inFlight_.end();) {
        if (!drop(it.key(), it.value())) {
            ++it;
            continue;
        }
        dropped.push_back(it.value());
        it = inFlight_.erase(it);
    }
    // Untracked first, so the finished signal that abort() sends is ignored.
    for (QNetworkReply* reply : dropped) {
        if (!reply->isFinished())
            reply->abort();
        reply->deleteLater();
    }
}

bool TileFetcher::Paused(const QString& host) const
{
    const auto until = pausedUntil_.constFind(host);
    return until != pausedUntil_.constEnd() && QDateTime::currentDateTimeUtc() < *until;
}

void TileFetcher::Pump()
{
    if (template_.isEmpty() || Paused(QUrl(template_).host()))
        return;
    while (inFlight_.size() < MaxConnections && !queue_.empty()) {
        const TileId tile = queue_.front();
        queue_.erase(queue_.begin());
        const Key key = Url(tile);
        if (images_.contains(key) || inFlight_.contains(key))
            continue;
        QNetworkRequest request{QUrl(key)};
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, true);
        request.setTransferTimeout(transferTimeout_);
        QNetworkReply* reply = network_->get(request);
        inFlight_.insert(key, reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply, key]() { Finished(reply, key); });
    }
}

void TileFetcher::Finished(QNetworkReply* reply, const Key& key)
{
    reply->deleteLater();
    const auto tracked = inFlight_.constFind(key);
    if (tracked == inFlight_.constEnd() || *tracked != reply)
        return;   // aborted because no longer wanted
    inFlight_.remove(key);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 403 || status == 429) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QDateTime until = RetryAfter(reply->rawHeader("Retry-After"), now);
        if (!until.isValid() || until <= now)
            until = now.addSecs(DefaultPauseSeconds);
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        Pause(reply->url().host(), until, (QString::number(status) + QLatin1Char(' ') + reason).trimmed());
        return;
    }
    QImage image;
    if (reply->error() == QNetworkReply::NoError)
        image = QImage::fromData(reply->readAll());
    if (image.isNull()) {
        failed_.insert(key, QDateTime::currentDateTimeUtc());
    } else {
        if (!reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool())
            KeepAtLeastAWeek(reply);
        images_.insert(key, new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
        emit TileArrived();
    }
    Pump();
}

void TileFetcher::KeepAtLeastAWeek(QNetworkReply* reply)
{
    // A server that names no lifetime gets the week its usage policy asks clients to keep tiles.
    const QByteArray control = reply->rawHeader("Cache-Control").toLower();
    if (control.contains("max-age") || control.contains("no-store") || control.contains("no-cache") ||
        reply->hasRawHeader("Expires"))
        return;
    QNetworkCacheMetaData data = diskCache_->metaData(reply->url());
    if (!data.isValid())
        return;
    data.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(DefaultFreshDays));
    diskCache_->updateMetaData(data);
}

void TileFetcher::Pause(const QString& host, const QDateTime& until, const QString& reason)
{
    pausedUntil_.insert(host, until);
    queue_.clear();
    AbortWhere([&host](const Key&, QNetworkReply* reply) { return reply->url().host() == host; });
    const QString time = QLocale::system().toString(until.toLocalTime().time(), QLocale::ShortFormat);
    status_ = QString::fromStdString(LanguageText(TextTable::MapTexts, 13)).arg(reason, time);
    emit StatusChanged(status_);
    // When the pause ends the status goes; the view asks again for what it then shows.
    const qint64 wait = std::max<qint64>(0, QDateTime::currentDateTimeUtc().msecsTo(until));
    const int delay = static_cast<int>(std::min<qint64>(wait, 24LL * 3600 * 1000)) + 1000;
    QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, host]() {
        if (Paused(host) || status_.isEmpty())
            return;
        status_.clear();
        emit StatusChanged(status_);
    });
}

} // namespace uzuviv
