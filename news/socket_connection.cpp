#include <QTcpSocket>
#include <utility>

#include "news/connection.h"

#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

namespace zhavik::news {
namespace {

// What Qt may hold of a connection between two reads of ours; the rest waits in the
// system's buffers, and then in the server's.
constexpr qint64 kReadBuffer = 64 * 1024;

class SocketConnection : public Connection {
 public:
  SocketConnection(const QString& host, quint16 port, bool tls, const QNetworkProxy& proxy,
                   Callbacks callbacks, QObject* parent)
      : Connection(parent), callbacks_(std::move(callbacks)) {
#if QT_CONFIG(ssl)
    socket_ = tls ? new QSslSocket(this) : new QTcpSocket(this);
#else
    socket_ = new QTcpSocket(this);
#endif
    socket_->setProxy(proxy);
    socket_->setReadBufferSize(kReadBuffer);
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
      if (callbacks_.readable) callbacks_.readable();
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { end(true); });
    connect(socket_, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) {
              end(error == QAbstractSocket::RemoteHostClosedError);
            });
    QMetaObject::invokeMethod(
        this,
        [this, host, port, tls] {
          const auto opened = [this] {
            if (callbacks_.opened) callbacks_.opened(socket_->peerAddress());
          };
#if QT_CONFIG(ssl)
          if (tls) {
            auto* secure = static_cast<QSslSocket*>(socket_);
            connect(secure, &QSslSocket::encrypted, this, opened);
            secure->connectToHostEncrypted(host, port);
            return;
          }
#else
          if (tls) {
            end(false);
            return;
          }
#endif
          connect(socket_, &QTcpSocket::connected, this, opened);
          socket_->connectToHost(host, port);
        },
        Qt::QueuedConnection);
  }
  ~SocketConnection() override {
    close();
  }

  void write(const QByteArray& bytes) override {
    if (socket_) socket_->write(bytes);
  }
  QByteArray read(qint64 most) override {
    return socket_ ? socket_->read(most) : QByteArray();
  }
  void close() override {
    callbacks_ = {};
    if (!socket_) return;
    socket_->disconnect(this);
    // abort(), not close(): nothing more is read or written, and the connection goes now.
    socket_->abort();
  }

 private:
  void end(bool orderly) {
    // Qt may report one end twice, as an error and as the disconnection.
    if (const auto ended = std::exchange(callbacks_.ended, nullptr)) ended(orderly);
  }

  Callbacks callbacks_;
  QTcpSocket* socket_ = nullptr;
};

}  // namespace

Connection* open_socket_connection(const QString& host, quint16 port, bool tls,
                                   const QNetworkProxy& proxy, Connection::Callbacks callbacks,
                                   QObject* parent) {
  return new SocketConnection(host, port, tls, proxy, std::move(callbacks), parent);
}

}  // namespace zhavik::news
