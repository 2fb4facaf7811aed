#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QUrl>
#include <functional>

#include "news/address_reach.h"

class QHostAddress;

namespace zhavik::news {

class Connection;

// One GET over HTTP/1.1 on a connection of its own, with every byte counted. Qt's network
// access manager reads status and header lines into memory however long they are (in Qt
// 6.4, an endless header line until its timeout, at a full core, and 200,000 header lines),
// and goes on reading a connection in its own thread after its reply has been aborted; here
// nothing is read but what the count allows, and stop() closes the connection at once. The
// status line, header lines, "100 Continue" answers, chunk framing and body of every answer
// of the load, redirects included, count against one cap.
//
// Only an answer whose framing is beyond doubt counts: conflicting lengths, a transfer or
// content coding other than chunked or identity, broken chunk framing, an end before the
// declared length and a reset fail the load. A redirect may not lead from a server to one
// nearer the user's machine (address_reach.h). The system's proxy for the address is used:
// an HTTP proxy gets the address whole in the request line, as proxies expect of plain HTTP.
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
  bool running() const { return connection_ != nullptr; }

 private:
  enum class Reading { kStatus, kHeaders, kBody, kChunkSize, kChunkData, kChunkEnd, kTrailers };

  void connect_to(const QUrl& url);
  void opened(const QHostAddress& peer);
  void take_bytes();
  void parse();
  bool take_line(QByteArray& line);
  void status_line(const QByteArray& line);
  void header_line(const QByteArray& line);
  void headers_done();
  void forget_headers();
  void connection_ended(bool orderly);
  void finish(bool ok);
  void close_connection();

  Connection* connection_ = nullptr;
  Done done_;
  QUrl url_;
  QByteArray request_;
  bool through_proxy_ = false;
  Reach reach_ = Reach::kLoopback;  // the most public server of the load so far
  qint64 most_bytes_ = 0;
  int redirects_left_ = 0;
  qint64 bytes_read_ = 0;  // of the whole load

  Reading reading_ = Reading::kStatus;
  QByteArray pending_;        // read from the connection
  qsizetype pending_at_ = 0;  // where its unparsed part starts
  qsizetype scanned_to_ = 0;  // how far it has been searched for a line's end
  int status_ = 0;
  // The answer's headers.
  qint64 content_length_ = -1;
  QList<QByteArray> transfer_codings_;
  bool encoded_ = false;  // a content coding other than identity
  QByteArray content_type_;
  QByteArray location_;

  qint64 chunk_left_ = 0;
  QByteArray body_;
};

}  // namespace zhavik::news
