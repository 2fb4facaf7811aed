#include "news/http_fetch.h"

#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <algorithm>
#include <utility>

#include "news/connection.h"

namespace zhavik::news {
namespace {

// The most read from the connection at once.
constexpr qint64 kReadPiece = 64 * 1024;

bool is_redirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits in `base` (10 or 16) and nothing else, at most 15 of them; -1 otherwise.
qint64 number(const QByteArray& digits, int base) {
  if (digits.isEmpty() || digits.size() > 15) return -1;
  qint64 value = 0;
  for (const char c : digits) {
    const int digit = hex_digit(c);
    if (digit < 0 || digit >= base) return -1;
    value = value * base + digit;
  }
  return value;
}

// A Content-Length value: a number, or a list of the same number ("5, 5", as some proxies
// join repeated headers); -1 for anything else.
qint64 content_length(const QByteArray& value) {
  qint64 length = -1;
  for (const QByteArray& item : value.split(',')) {
    const qint64 each = number(item.trimmed(), 10);
    if (each < 0 || (length >= 0 && each != length)) return -1;
    length = each;
  }
  return length;
}

// The size on a chunk's first line ("1a", "1a;name=value"); -1 when it is no hex number.
qint64 chunk_size(const QByteArray& line) {
  const qsizetype extensions = line.indexOf(';');
  return number(line.left(extensions < 0 ? line.size() : extensions).trimmed(), 16);
}

// The codings a header names, lower case, empty items left out ("gzip, chunked").
QList<QByteArray> codings(const QByteArray& value) {
  QList<QByteArray> names;
  for (const QByteArray& item : value.split(','))
    if (const QByteArray name = item.trimmed().toLower(); !name.isEmpty()) names.append(name);
  return names;
}

// The request for `url`: the path alone, or through an HTTP proxy the whole address (the
// absolute form), which the proxy loads in our stead.
QByteArray request_for(const QUrl& url, const QNetworkProxy* http_proxy) {
  QByteArray target;
  if (http_proxy) {
    QUrl whole = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
    if (whole.path().isEmpty()) whole.setPath(QStringLiteral("/"));
    target = whole.toEncoded();
  } else {
    target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty()) target = "/";
  }
  QByteArray request =
      "GET " + target + " HTTP/1.1\r\nHost: " +
      url.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1() +
      "\r\nAccept-Encoding: identity\r\nConnection: close\r\nUser-Agent: Zhavik\r\n";
  if (http_proxy && !http_proxy->user().isEmpty()) {
    request += "Proxy-Authorization: Basic " +
               (http_proxy->user() + u':' + http_proxy->password()).toUtf8().toBase64() + "\r\n";
  }
  return request + "\r\n";
}

}  // namespace

HttpFetch::HttpFetch(QObject* parent) : QObject(parent) {}

HttpFetch::~HttpFetch() {
  close_connection();
}

void HttpFetch::start(const QUrl& url, qint64 most_bytes, int most_redirects, Done done) {
  stop();
  done_ = std::move(done);
  most_bytes_ = most_bytes;
  redirects_left_ = most_redirects;
  bytes_read_ = 0;
  reach_ = Reach::kLoopback;
  connect_to(url);
}

void HttpFetch::stop() {
  close_connection();
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
  forget_headers();
  body_.clear();

  const bool tls = url.scheme() == u"https";
  const quint16 port = static_cast<quint16>(url.port(tls ? 443 : 80));
  // The proxy the system (or the application) names for this address, as Qt's own network
  // access would use it; loopback addresses go straight.
  const QNetworkProxy proxy = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url))
                                  .value(0, QNetworkProxy(QNetworkProxy::NoProxy));
  const bool http_proxy = !tls && (proxy.type() == QNetworkProxy::HttpProxy ||
                                   proxy.type() == QNetworkProxy::HttpCachingProxy);
  through_proxy_ =
      proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy;
  request_ = request_for(url, http_proxy ? &proxy : nullptr);

  Connection::Callbacks callbacks{[this](const QHostAddress& peer) { opened(peer); },
                                  [this] { take_bytes(); },
                                  [this](bool orderly) { connection_ended(orderly); }};
  if (http_proxy) {
    connection_ = open_plain_connection(proxy.hostName(), proxy.port(), std::move(callbacks), this);
  } else if (tls || through_proxy_) {
    connection_ = open_socket_connection(url.host(), port, tls,
                                         through_proxy_ ? proxy : QNetworkProxy::NoProxy,
                                         std::move(callbacks), this);
  } else {
    connection_ = open_plain_connection(url.host(), port, std::move(callbacks), this);
  }
}

void HttpFetch::opened(const QHostAddress& peer) {
  // Through a proxy, the server's address is known only where the address names it.
  const Reach reach = reach_of(through_proxy_ ? QHostAddress(url_.host()) : peer);
  if (reach > reach_) {
    finish(false);  // redirected nearer the user's machine than a server before
    return;
  }
  reach_ = reach;
  connection_->write(request_);
}

void HttpFetch::take_bytes() {
  while (connection_) {
    Connection* reading = connection_;
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
    if (connection_ != reading) return;  // ended, or gone on to a redirect's target
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
  Connection* reading = connection_;
  QByteArray line;
  while (connection_ == reading) {
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
        const qint64 size = chunk_size(line);
        if (size < 0 || size > most_bytes_) {
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
        if (!line.isEmpty()) {
          finish(false);  // the chunk is longer than it said
          return;
        }
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
    // Two lengths that differ leave the body's end in doubt: which one a cache or proxy on
    // the way believed decides what comes next.
    const qint64 length = content_length(value);
    if (length < 0 || (content_length_ >= 0 && length != content_length_)) {
      finish(false);
      return;
    }
    content_length_ = length;
  } else if (name == "transfer-encoding") {
    transfer_codings_ += codings(value);
  } else if (name == "content-encoding") {
    for (const QByteArray& coding : codings(value))
      encoded_ = encoded_ || coding != "identity";
  } else if (name == "content-type") {
    content_type_ = value;
  } else if (name == "location") {
    location_ = value;
  }
}

void HttpFetch::forget_headers() {
  content_length_ = -1;
  transfer_codings_.clear();
  encoded_ = false;
  content_type_.clear();
  location_.clear();
}

void HttpFetch::headers_done() {
  if (status_ < 200) {
    // An interim answer ("100 Continue"): the real one follows.
    reading_ = Reading::kStatus;
    forget_headers();
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
    close_connection();
    connect_to(next);
    return;
  }
  // Chunked is the one transfer coding read; a body asked for as it is ("identity") and
  // sent compressed would be shown as its compressed bytes.
  const bool chunked = transfer_codings_ == QList<QByteArray>{"chunked"};
  if (status_ == 204 || status_ == 304) {
    finish(true);
  } else if ((!transfer_codings_.isEmpty() && !chunked) || encoded_) {
    finish(false);
  } else if (chunked) {
    reading_ = Reading::kChunkSize;
  } else if (content_length_ > most_bytes_) {
    finish(false);  // announced too long: not a byte more
  } else {
    reading_ = Reading::kBody;
    if (content_length_ == 0) finish(true);
  }
}

void HttpFetch::connection_ended(bool orderly) {
  const Connection* ending = connection_;
  take_bytes();
  if (connection_ != ending) return;  // ended, or gone on to a redirect's target
  // Only a body without length or chunks ends with its connection, and only when the
  // server closed it in order: a reset may have cut it anywhere.
  finish(orderly && reading_ == Reading::kBody && content_length_ < 0);
}

void HttpFetch::finish(bool ok) {
  close_connection();
  ok = ok && status_ >= 200 && status_ < 300;
  const QByteArray body = ok ? std::exchange(body_, {}) : QByteArray();
  body_.clear();
  pending_.clear();
  if (Done done = std::exchange(done_, nullptr)) done(ok, body, content_type_);
}

void HttpFetch::close_connection() {
  Connection* connection = std::exchange(connection_, nullptr);
  if (!connection) return;
  connection->close();
  connection->deleteLater();
}

}  // namespace zhavik::news
