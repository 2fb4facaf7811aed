#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

// A small HTTP server for the news tests, on the loopback at a port the system chooses. It
// records the target of every request ("/rjshengji/gg.htm?id=...") and answers each path
// as it was told: a page, a redirect, an answer held back until released, a flood of
// bytes, or a few bytes and then silence. Unknown paths get the default answer.
class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();

  // "http://127.0.0.1:<port>", no trailing "/".
  QString host() const;
  // Stops listening: every later request finds the port closed.
  void close();

  // Request targets in the order they came, and each request's head (request line and
  // header lines).
  QList<QByteArray> targets() const { return targets_; }
  QList<QByteArray> heads() const { return heads_; }
  // Bytes written to the sockets so far, headers included.
  qint64 bytes_sent() const { return bytes_sent_; }

  // The answer to `path` (without the query), or to every other path when `path` is "*".
  void page(const QByteArray& path, const QByteArray& body, int status = 200,
            const QByteArray& content_type = "text/html");
  void redirect(const QByteArray& path, const QByteArray& location);
  // `bytes` bytes of body, sent as fast as the client takes them, with a Content-Length
  // header or without one (the end of the body being the end of the connection).
  void flood(const QByteArray& path, qint64 bytes, bool with_length);
  // The headers and a little of the body, then nothing, for ever.
  void stall(const QByteArray& path);
  // `first`, then `again` over and over for as long as the client reads: a status line,
  // header line or header list that never ends. With `again` empty, `first` is the whole
  // answer, sent as it stands.
  void endless(const QByteArray& path, const QByteArray& first, const QByteArray& again);
  // Keeps the answers to `path` until release().
  void hold(const QByteArray& path);
  void release();

 private:
  struct Answer {
    enum Kind { kPage, kRedirect, kFlood, kStall, kEndless, kHold } kind = kPage;
    int status = 200;
    QByteArray content_type = "text/html";
    QByteArray body;
    QByteArray first;  // of an endless answer
    qint64 size = 0;
    bool with_length = true;
  };
  void take(QTcpSocket* socket);
  void answer(QTcpSocket* socket, const QByteArray& path);
  void send_page(QTcpSocket* socket, const Answer& answer);
  void write(QTcpSocket* socket, const QByteArray& bytes);
  // Writes the next piece whenever the last has left, so that the server holds little;
  // an empty piece ends the answer.
  void keep_writing(QTcpSocket* socket, std::function<QByteArray()> next);

  QTcpServer server_;
  QMap<QByteArray, Answer> answers_;
  QList<QByteArray> targets_;
  QList<QByteArray> heads_;
  QList<QTcpSocket*> held_;
  QByteArray held_path_;
  QMap<QTcpSocket*, QByteArray> pending_;
  qint64 bytes_sent_ = 0;
};
