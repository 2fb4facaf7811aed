#pragma once

#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

// A small HTTP server for the news tests, on the loopback (or `address`) at a port the
// system chooses. It records every request's head and answers each path with the bytes it
// was given. It serves as an HTTP proxy too: a proxy's request names the whole address.
class TestHttpServer {
 public:
  explicit TestHttpServer(const QHostAddress& address = QHostAddress::LocalHost) {
    server_.listen(address, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        take(socket);
    });
  }
  ~TestHttpServer() {
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>())
      socket->disconnect();
  }

  // "http://127.0.0.1:<port>" (or the address listened on), no trailing "/".
  QString host() const {
    const QHostAddress address = server_.serverAddress();
    const QString name = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? u'[' + address.toString() + u']'
                             : address.toString();
    return QStringLiteral("http://%1:%2").arg(name).arg(server_.serverPort());
  }
  quint16 port() const { return server_.serverPort(); }
  void close() { server_.close(); }

  // The requests' targets ("/rjshengji/gg.htm?id=...") in the order they came.
  QList<QByteArray> targets() const {
    QList<QByteArray> targets;
    for (const QByteArray& head : heads)
      targets.append(head.split(' ').value(1));
    return targets;
  }

  // How an answer ends once its bytes have gone: the connection closed in order, kept open
  // for ever (with nothing sent again), or reset a moment later, when the client has read
  // what came before.
  enum class End { kClose, kStayOpen, kReset };

  // The answer to `path` (without the query), or to every path not given when `path` is "*":
  // `first`, then `again` over and over for as long as the client reads, then `end`.
  void answer(const QByteArray& path, const QByteArray& first, const QByteArray& again = {},
              End end = End::kClose) {
    answers_[path] = {first, again, end};
  }
  void page(const QByteArray& path, const QByteArray& body, int status = 200) {
    answer(path, "HTTP/1.1 " + QByteArray::number(status) + " Answer\r\nContent-Length: " +
                     QByteArray::number(body.size()) + "\r\n\r\n" + body);
  }

  // The requests' heads (request line and header lines), and the connections still open.
  QList<QByteArray> heads;
  int open_connections = 0;

 private:
  struct Answer {
    QByteArray first, again;
    End end = End::kClose;
  };

  void take(QTcpSocket* socket) {
    socket->setParent(&server_);
    ++open_connections;
    QObject::connect(socket, &QTcpSocket::readyRead, socket,
                     [this, socket, request = QByteArray()]() mutable {
                       request += socket->readAll();
                       const qsizetype end = request.indexOf("\r\n\r\n");
                       if (end < 0) return;
                       heads.append(request.left(end));
                       send(socket, targets().constLast().split('?').value(0));
                     });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
      --open_connections;
      socket->deleteLater();
    });
  }

  void send(QTcpSocket* socket, const QByteArray& path) {
    const Answer answer = answers_.value(path, answers_.value("*"));
    socket->write(answer.first);
    if (answer.end == End::kStayOpen) return;
    // The next piece only once the last has nearly left, so that the server holds little.
    const auto more = [socket, again = answer.again, end = answer.end] {
      if (socket->bytesToWrite() > 256 * 1024) return;
      if (!again.isEmpty()) {
        socket->write(again);
      } else if (end == End::kClose) {
        socket->disconnectFromHost();
      } else if (socket->bytesToWrite() == 0) {
        // Closed with a zero linger time, a socket sends a reset, not an orderly end.
        QTimer::singleShot(100, socket, [socket] {
          const linger reset{1, 0};
          ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset,
                       sizeof reset);
          socket->abort();
        });
      }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
  }

  QTcpServer server_;
  QMap<QByteArray, Answer> answers_;
};
