#include "tests/news/test_http_server.h"

#include <QPointer>
#include <QTcpSocket>
#include <memory>

TestHttpServer::TestHttpServer() {
  answers_["*"] = Answer{};
  server_.listen(QHostAddress::LocalHost, 0);
  QObject::connect(&server_, &QTcpServer::newConnection, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection())
      take(socket);
  });
}

TestHttpServer::~TestHttpServer() {
  for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>())
    socket->disconnect();
}

QString TestHttpServer::host() const {
  return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void TestHttpServer::close() {
  server_.close();
}

void TestHttpServer::page(const QByteArray& path, const QByteArray& body, int status,
                          const QByteArray& content_type) {
  Answer answer;
  answer.body = body;
  answer.status = status;
  answer.content_type = content_type;
  answers_[path] = answer;
}

void TestHttpServer::redirect(const QByteArray& path, const QByteArray& location) {
  Answer answer;
  answer.kind = Answer::kRedirect;
  answer.status = 302;
  answer.body = location;
  answers_[path] = answer;
}

void TestHttpServer::flood(const QByteArray& path, qint64 bytes, bool with_length) {
  Answer answer;
  answer.kind = Answer::kFlood;
  answer.size = bytes;
  answer.with_length = with_length;
  answers_[path] = answer;
}

void TestHttpServer::stall(const QByteArray& path) {
  Answer answer;
  answer.kind = Answer::kStall;
  answers_[path] = answer;
}

void TestHttpServer::endless(const QByteArray& path, const QByteArray& first,
                             const QByteArray& again) {
  Answer answer;
  answer.kind = Answer::kEndless;
  answer.first = first;
  answer.body = again;
  answers_[path] = answer;
}

void TestHttpServer::hold(const QByteArray& path) {
  held_path_ = path;
}

void TestHttpServer::release() {
  const QList<QTcpSocket*> held = std::exchange(held_, {});
  const QByteArray path = std::exchange(held_path_, {});
  for (QTcpSocket* socket : held) {
    if (socket->state() == QAbstractSocket::ConnectedState) answer(socket, path);
  }
}

void TestHttpServer::take(QTcpSocket* socket) {
  socket->setParent(&server_);
  QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
    QByteArray& request = pending_[socket];
    request += socket->readAll();
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0) return;
    // "GET /path?query HTTP/1.1"
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    heads_.append(request.left(end));
    pending_.remove(socket);
    const QByteArray target = words.size() >= 2 ? words[1] : QByteArray();
    targets_.append(target);
    const QByteArray path =
        target.left(target.indexOf('?') >= 0 ? target.indexOf('?') : target.size());
    if (!held_path_.isEmpty() && path == held_path_) {
      held_.append(socket);
      return;
    }
    answer(socket, path);
  });
  QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
    pending_.remove(socket);
    held_.removeAll(socket);
    socket->deleteLater();
  });
}

void TestHttpServer::write(QTcpSocket* socket, const QByteArray& bytes) {
  bytes_sent_ += socket->write(bytes);
}

void TestHttpServer::answer(QTcpSocket* socket, const QByteArray& path) {
  const Answer answer = answers_.value(path, answers_.value("*"));
  switch (answer.kind) {
    case Answer::kPage:
      send_page(socket, answer);
      return;
    case Answer::kRedirect:
      write(socket, "HTTP/1.1 302 Found\r\nLocation: " + answer.body +
                        "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
      socket->disconnectFromHost();
      return;
    case Answer::kStall:
      write(socket,
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n"
            "Connection: close\r\n\r\n<html><body><marquee>");
      return;
    case Answer::kFlood: {
      QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n";
      if (answer.with_length) head += "Content-Length: " + QByteArray::number(answer.size) + "\r\n";
      write(socket, head + "\r\n<html><body><marquee>");
      auto left = std::make_shared<qint64>(answer.size);
      keep_writing(socket, [left] {
        const qint64 piece = qMin<qint64>(*left, 64 * 1024);
        *left -= piece;
        return QByteArray(piece, 'x');
      });
      return;
    }
    case Answer::kEndless:
      write(socket, answer.first);
      keep_writing(socket, [again = answer.body] { return again; });
      return;
    case Answer::kHold:
      return;
  }
}

void TestHttpServer::keep_writing(QTcpSocket* socket, std::function<QByteArray()> next) {
  auto more = [this, socket, next] {
    if (socket->bytesToWrite() > 256 * 1024) return;
    const QByteArray piece = next();
    if (piece.isEmpty()) {
      socket->disconnectFromHost();
      return;
    }
    write(socket, piece);
  };
  QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
  more();
}

void TestHttpServer::send_page(QTcpSocket* socket, const Answer& answer) {
  QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Answer\r\n";
  head += "Content-Type: " + answer.content_type + "\r\n";
  head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  write(socket, head + answer.body);
  socket->disconnectFromHost();
}
