#include "news/http_fetch.h"

#include <QTcpSocket>
#include <algorithm>
#include <utility>

#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

namespace zhavik::news {
namespace {

// What Qt may hold of a connection between two reads of ours; the rest waits in the
// system's buffers, and then in the server's.
constexpr qint64 kReadPiece = 64 * 1024;

bool is_redirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

HttpFetch::HttpFetch(QObject* parent) : QObject(parent) {}

HttpFetch::~HttpFetch() {
  close_socket();
}

void HttpFetch::start(const QUrl& url, qint64 most_bytes, int most_redirects, Done done) {
  stop();
  done_ = std::move(done);
  most_bytes_ = most_bytes;
  redirects_left_ = most_redirects;
  bytes_read_ = 0;
  connect_to(url);
}

void HttpFetch::stop() {
  close_socket();
  done_ = nullptr;
  pending_.clear();
  body_.clear();
}

void HttpFetch::connect_to(const QUrl& url) {
  url_ = url;
  reading_ = Reading::kStatus;
  pending_.clear();
  pending_at_ = 0;
  scanned_to_ = 0;
  status_ = 0;
  content_length_ = -1;
  chunked_ = false;
  content_type_.clear();
  location_.clear();
  body_.clear();

  const bool tls = url.scheme() == u"https";
#if QT_CONFIG(ssl)
  auto* socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
#else
  if (tls) {
    finish(false);
    return;
  }
  auto* socket = new QTcpSocket(this);
#endif
  socket_ = socket;
  socket->setReadBufferSize(kReadPiece);
  const QByteArray target =
      url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
  const QByteArray request =
      "GET " + (target.isEmpty() ? QByteArray("/") : target) + " HTTP/1.1\r\nHost: " +
      url.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1() +
      "\r\nAccept-Encoding: identity\r\nConnection: close\r\nUser-Agent: Zhavik\r\n\r\n";
  const auto send = [socket, request] { socket->write(request); };
  connect(socket, &QTcpSocket::readyRead, this, &HttpFetch::take_bytes);
  connect(socket, &QTcpSocket::disconnected, this, &HttpFetch::connection_closed);
  connect(socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
    if (e == QAbstractSocket::RemoteHostClosedError) {
      connection_closed();
    } else {
      finish(false);
    }
  });
  const quint16 port = static_cast<quint16>(url.port(tls ? 443 : 80));
#if QT_CONFIG(ssl)
  if (tls) {
    auto* secure = static_cast<QSslSocket*>(socket);
    connect(secure, &QSslSocket::encrypted, this, send);
    secure->connectToHostEncrypted(url.host(), port);
    return;
  }
#endif
  connect(socket, &QTcpSocket::connected, this, send);
  socket->connectToHost(url.host(), port);
}

void HttpFetch::take_bytes() {
  while (socket_ && socket_->bytesAvailable() > 0) {
    QTcpSocket* reading = socket_;
    const qint64 room = most_bytes_ + 1 - bytes_read_;
    const QByteArray bytes = reading->read(std::min(room, kReadPiece));
    if (bytes.isEmpty()) return;
    bytes_read_ += bytes.size();
    if (bytes_read_ > most_bytes_) {
      finish(false);
      return;
    }
    pending_ += bytes;
    parse();
    if (socket_ != reading) return;  // ended, or gone on to a redirect's target
    pending_.remove(0, pending_at_);
    scanned_to_ -= pending_at_;
    pending_at_ = 0;
  }
}

bool HttpFetch::take_line(QByteArray& line) {
  // A line may come in many pieces: each byte is looked at once.
  const qsizetype end = pending_.indexOf('\n', std::max(pending_at_, scanned_to_));
  if (end < 0) {
    scanned_to_ = pending_.size();
    return false;
  }
  line = pending_.mid(pending_at_, end - pending_at_);
  if (line.endsWith('\r')) line.chop(1);
  pending_at_ = end + 1;
  return true;
}

void HttpFetch::parse() {
  QTcpSocket* reading = socket_;
  QByteArray line;
  while (socket_ == reading) {
    switch (reading_) {
      case Reading::kStatus:
        if (!take_line(line)) return;
        status_line(line);
        break;
      case Reading::kHeaders:
        if (!take_line(line)) return;
        if (line.isEmpty()) {
          headers_done();
        } else {
          header_line(line);
        }
        break;
      case Reading::kBody:
        body_ += QByteArrayView(pending_).sliced(pending_at_);
        pending_at_ = pending_.size();
        if (content_length_ >= 0 && body_.size() >= content_length_) {
          body_.truncate(content_length_);
          finish(true);
        }
        return;
      case Reading::kChunkSize: {
        if (!take_line(line)) return;
        bool valid = false;
        const qsizetype extensions = line.indexOf(';');  // "1a;name=value"
        const qint64 size =
            line.left(extensions < 0 ? line.size() : extensions).trimmed().toLongLong(&valid, 16);
        if (!valid || size < 0 || size > most_bytes_) {
          finish(false);
          return;
        }
        chunk_left_ = size;
        reading_ = size == 0 ? Reading::kTrailers : Reading::kChunkData;
        break;
      }
      case Reading::kChunkData: {
        const qsizetype take = std::min<qint64>(chunk_left_, pending_.size() - pending_at_);
        body_ += QByteArrayView(pending_).sliced(pending_at_, take);
        pending_at_ += take;
        chunk_left_ -= take;
        if (chunk_left_ > 0) return;
        reading_ = Reading::kChunkEnd;
        break;
      }
      case Reading::kChunkEnd:
        if (!take_line(line)) return;
        reading_ = Reading::kChunkSize;
        break;
      case Reading::kTrailers:
        if (!take_line(line)) return;
        if (line.isEmpty()) finish(true);
        break;
    }
  }
}

void HttpFetch::status_line(const QByteArray& line) {
  // "HTTP/1.1 200 OK"
  const QList<QByteArray> words = line.split(' ');
  bool valid = false;
  status_ = words.size() >= 2 && words[0].startsWith("HTTP/") ? words[1].toInt(&valid) : 0;
  if (!valid || status_ < 100 || status_ > 999) {
    finish(false);
    return;
  }
  reading_ = Reading::kHeaders;
}

void HttpFetch::header_line(const QByteArray& line) {
  const qsizetype colon = line.indexOf(':');
  if (colon <= 0) return;
  const QByteArray name = line.left(colon).trimmed().toLower();
  const QByteArray value = line.mid(colon + 1).trimmed();
  if (name == "content-length") {
    bool valid = false;
    const qint64 length = value.toLongLong(&valid);
    if (valid && length >= 0) content_length_ = length;
  } else if (name == "transfer-encoding") {
    chunked_ = value.toLower().contains("chunked");
  } else if (name == "content-type") {
    content_type_ = value;
  } else if (name == "location") {
    location_ = value;
  }
}

void HttpFetch::headers_done() {
  if (status_ < 200) {
    // An interim answer ("100 Continue"): the real one follows.
    reading_ = Reading::kStatus;
    content_length_ = -1;
    chunked_ = false;
    return;
  }
  if (is_redirect(status_) && !location_.isEmpty()) {
    const QUrl next = url_.resolved(QUrl::fromEncoded(location_));
    const bool allowed = next.isValid() && (next.scheme() == u"https" ||
                                            (next.scheme() == u"http" && url_.scheme() == u"http"));
    if (redirects_left_-- <= 0 || !allowed) {
      finish(false);
      return;
    }
    close_socket();
    connect_to(next);
    return;
  }
  if (status_ == 204 || status_ == 304) {
    finish(true);
  } else if (chunked_) {
    reading_ = Reading::kChunkSize;
  } else if (content_length_ > most_bytes_) {
    finish(false);  // announced too long: not a byte more
  } else {
    reading_ = Reading::kBody;
    if (content_length_ == 0) finish(true);
  }
}

void HttpFetch::connection_closed() {
  if (!socket_) return;
  take_bytes();
  if (!socket_) return;
  // Only a body without length or chunks ends with its connection.
  finish(reading_ == Reading::kBody && content_length_ < 0);
}

void HttpFetch::finish(bool ok) {
  close_socket();
  ok = ok && status_ >= 200 && status_ < 300;
  const QByteArray body = ok ? std::exchange(body_, {}) : QByteArray();
  body_.clear();
  pending_.clear();
  if (Done done = std::exchange(done_, nullptr)) done(ok, body, content_type_);
}

void HttpFetch::close_socket() {
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  if (!socket) return;
  socket->disconnect(this);
  // abort(), not close(): nothing more is read or written, and the connection goes now.
  socket->abort();
  socket->deleteLater();
}

}  // namespace zhavik::news
