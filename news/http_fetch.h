#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>
#include <functional>

class QTcpSocket;

namespace zhavik::news {

// One GET over HTTP/1.1 on a socket of its own, with every byte counted. Qt's network access
// manager reads status and header lines into memory however long they are, and goes on
// reading a connection in its own thread after its reply has been aborted; here nothing is
// read but what the count allows, and stop() closes the connection at once. The status
// line, header lines, "100 Continue" answers, chunk framing and body of every answer of the
// load, redirects included, count against one cap.
class HttpFetch : public QObject {
 public:
  // ok: a 2xx answer read whole within the bounds; then the body and its Content-Type.
  using Done = std::function<void(bool ok, const QByteArray& body, const QByteArray& type)>;

  explicit HttpFetch(QObject* parent = nullptr);
  ~HttpFetch() override;

  // Starts loading `url` (http, or https where the system has TLS) and returns at once.
  // `done` is called once, when the load ends by itself; never after stop().
  void start(const QUrl& url, qint64 most_bytes, int most_redirects, Done done);
  // Ends the load in progress, if any: the connection is closed, nothing more is read.
  void stop();
  bool running() const { return socket_ != nullptr; }

 private:
  enum class Reading { kStatus, kHeaders, kBody, kChunkSize, kChunkData, kChunkEnd, kTrailers };

  void connect_to(const QUrl& url);
  void take_bytes();
  void parse();
  bool take_line(QByteArray& line);
  void status_line(const QByteArray& line);
  void header_line(const QByteArray& line);
  void headers_done();
  void connection_closed();
  void finish(bool ok);
  void close_socket();

  QTcpSocket* socket_ = nullptr;
  Done done_;
  QUrl url_;
  qint64 most_bytes_ = 0;
  int redirects_left_ = 0;
  qint64 bytes_read_ = 0;  // of the whole load

  Reading reading_ = Reading::kStatus;
  QByteArray pending_;        // read from the socket
  qsizetype pending_at_ = 0;  // where its unparsed part starts
  qsizetype scanned_to_ = 0;  // how far it has been searched for a line's end
  int status_ = 0;
  qint64 content_length_ = -1;
  bool chunked_ = false;
  qint64 chunk_left_ = 0;
  QByteArray content_type_;
  QByteArray location_;
  QByteArray body_;
};

}  // namespace zhavik::news
