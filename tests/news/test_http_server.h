#pragma once

#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server for the news tests, on the loopback at a port the system chooses. It
// records every request's head and answers each path with the bytes it was given.
class TestHttpServer {
 public:
  TestHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        take(socket);
    });
  }
  ~TestHttpServer() {
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>())
      socket->disconnect();
  }

  // "http://127.0.0.1:<port>", no trailing "/".
  QString host() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
  void close() { server_.close(); }

  // The requests' targets ("/rjshengji/gg.htm?id=...") in the order they came.
  QList<QByteArray> targets() const {
    QList<QByteArray> targets;
    for (const QByteArray& head : heads)
      targets.append(head.split(' ').value(1));
    return targets;
  }

  // The answer to `path` (without the query), or to every path not given when `path` is "*":
  // `first`, then `again` over and over for as long as the client reads, then the end of
  // the connection; with `stay_open`, `first` and nothing more, for ever.
  void answer(const QByteArray& path, const QByteArray& first, const QByteArray& again = {},
              bool stay_open = false) {
    answers_[path] = {first, again, stay_open};
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
    bool stay_open = false;
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
    if (answer.stay_open) return;
    // The next piece only once the last has nearly left, so that the server holds little.
    const auto more = [socket, again = answer.again] {
      if (socket->bytesToWrite() > 256 * 1024) return;
      if (again.isEmpty()) {
        socket->disconnectFromHost();
      } else {
        socket->write(again);
      }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
  }

  QTcpServer server_;
  QMap<QByteArray, Answer> answers_;
};
