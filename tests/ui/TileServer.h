#pragma once

#include <functional>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>

namespace uzuviv::testing {

// A tile server on 127.0.0.1 for one test. It answers each GET by what `Answer` returns for
// the path, remembers every request, and counts how many connections were open at once.
class TileServer : public QObject {
public:
    enum class Reply { Tile, NotFound, Close, Stall, TooMany };
    struct Request {
        QString Path;
        QByteArray UserAgent;
    };

    std::function<Reply(const QString& path)> Answer = [](const QString&) { return Reply::Tile; };
    QByteArray RetryAfter = "2";
    std::vector<Request> Requests;
    int OpenConnections = 0;
    int MostOpenAtOnce = 0;

    TileServer()
    {
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(TileColour());
        QBuffer buffer(&png_);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                MostOpenAtOnce = std::max(MostOpenAtOnce, ++OpenConnections);
                connect(socket, &QTcpSocket::disconnected, this, [this, socket]() {
                    --OpenConnections;
                    socket->deleteLater();
                });
                connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { Serve(socket); });
            }
        });
    }

    static QColor TileColour() { return {0x30, 0xA0, 0x90}; }
    QString Template() const
    {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }

private:
    void Serve(QTcpSocket* socket)
    {
        QByteArray& pending = buffers_[socket];
        pending += socket->readAll();
        for (qsizetype end; (end = pending.indexOf("\r\n\r\n")) >= 0;) {
            const QByteArray head = pending.left(end);
            pending.remove(0, end + 4);
            const QList<QByteArray> lines = head.split('\n');
            Request request{QString::fromLatin1(lines.value(0).split(' ').value(1)), {}};
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("user-agent:"))
                    request.UserAgent = line.mid(11).trimmed();
            Requests.push_back(request);
            switch (Answer(request.Path)) {
            case Reply::Tile:
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                              QByteArray::number(png_.size()) + "\r\n\r\n" + png_);
                break;
            case Reply::NotFound:
                socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
                break;
            case Reply::TooMany:
                socket->write("HTTP/1.1 429 Too Many Requests\r\nRetry-After: " + RetryAfter +
                              "\r\nContent-Length: 0\r\n\r\n");
                break;
            case Reply::Close:
                socket->close();
                return;
            case Reply::Stall:
                break;
            }
        }
    }

    QTcpServer server_;
    QByteArray png_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

} // namespace uzuviv::testing
