// The plain connection on POSIX sockets. recv() gives 0 at an orderly close and fails with
// ECONNRESET at a reset, which Qt's sockets report alike.

#include <QHostInfo>
#include <QSocketNotifier>
#include <utility>

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "news/connection.h"

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0  // where SO_NOSIGPIPE is set on the socket instead
#endif

namespace zhavik::news {
namespace {

// `address`:`port` as the socket functions take it; the length is 0 for no IP address.
socklen_t socket_address(const QHostAddress& address, quint16 port, sockaddr_storage& out) {
  std::memset(&out, 0, sizeof out);
  if (address.protocol() == QAbstractSocket::IPv4Protocol) {
    auto& ipv4 = reinterpret_cast<sockaddr_in&>(out);
    ipv4.sin_family = AF_INET;
    ipv4.sin_port = htons(port);
    ipv4.sin_addr.s_addr = htonl(address.toIPv4Address());
    return sizeof ipv4;
  }
  if (address.protocol() == QAbstractSocket::IPv6Protocol) {
    auto& ipv6 = reinterpret_cast<sockaddr_in6&>(out);
    ipv6.sin6_family = AF_INET6;
    ipv6.sin6_port = htons(port);
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    std::memcpy(&ipv6.sin6_addr, &bytes, sizeof bytes);
    if (!address.scopeId().isEmpty()) {
      bool numeric = false;
      ipv6.sin6_scope_id = address.scopeId().toUInt(&numeric);
      if (!numeric)
        ipv6.sin6_scope_id = if_nametoindex(address.scopeId().toLocal8Bit().constData());
    }
    return sizeof ipv6;
  }
  return 0;
}

class PlainConnection : public Connection {
 public:
  PlainConnection(const QString& host, quint16 port, Callbacks callbacks, QObject* parent)
      : Connection(parent), callbacks_(std::move(callbacks)), port_(port) {
    // An address is used as it is: a host lookup would look its name up instead.
    if (const QHostAddress address(host); !address.isNull()) {
      addresses_ = {address};
      QMetaObject::invokeMethod(this, &PlainConnection::connect_next, Qt::QueuedConnection);
    } else {
      lookup_ = QHostInfo::lookupHost(host, this, [this](const QHostInfo& found) {
        lookup_ = -1;
        addresses_ = found.addresses();
        connect_next();
      });
    }
  }
  ~PlainConnection() override { close(); }

  void write(const QByteArray& bytes) override {
    unsent_ += bytes;
    if (connected_) send_unsent();
  }

  QByteArray read(qint64 most) override {
    if (!connected_ || most <= 0) return {};
    QByteArray bytes(most, Qt::Uninitialized);
    ssize_t got = 0;
    do {
      got = ::recv(socket_, bytes.data(), static_cast<size_t>(most), 0);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
      bytes.truncate(got);
      return bytes;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return {};
    end(got == 0);
    return {};
  }

  void close() override {
    callbacks_ = {};
    if (lookup_ >= 0) QHostInfo::abortHostLookup(std::exchange(lookup_, -1));
    close_socket();
  }

 private:
  // Tries the addresses found in turn until one answers.
  void connect_next() {
    close_socket();
    while (!addresses_.isEmpty()) {
      const QHostAddress address = addresses_.takeFirst();
      sockaddr_storage target{};
      const socklen_t length = socket_address(address, port_, target);
      if (length == 0) continue;
      socket_ = ::socket(target.ss_family, SOCK_STREAM, 0);
      if (socket_ < 0) continue;
      ::fcntl(socket_, F_SETFL, ::fcntl(socket_, F_GETFL) | O_NONBLOCK);
      ::fcntl(socket_, F_SETFD, FD_CLOEXEC);
#ifdef SO_NOSIGPIPE
      const int on = 1;
      ::setsockopt(socket_, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
      peer_ = address;
      const int result = ::connect(socket_, reinterpret_cast<const sockaddr*>(&target), length);
      if (result == 0) {
        connection_made();
        return;
      }
      if (errno == EINPROGRESS) {
        // Writable once the connection is made or has failed.
        watch_writing(&PlainConnection::connect_done);
        return;
      }
      close_socket();
    }
    end(false);
  }

  void connect_done() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
      connect_next();
      return;
    }
    connection_made();
  }

  void connection_made() {
    connected_ = true;
    drop(write_watch_);
    read_watch_ = new QSocketNotifier(socket_, QSocketNotifier::Read, this);
    connect(read_watch_, &QSocketNotifier::activated, this, [this] {
      if (callbacks_.readable) callbacks_.readable();
    });
    if (callbacks_.opened) callbacks_.opened(peer_);
    if (connected_ && !unsent_.isEmpty()) send_unsent();
  }

  void send_unsent() {
    while (!unsent_.isEmpty()) {
      const ssize_t sent =
          ::send(socket_, unsent_.constData(), static_cast<size_t>(unsent_.size()), MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        watch_writing(&PlainConnection::send_unsent);
        return;
      }
      if (sent < 0) {
        end(false);
        return;
      }
      unsent_.remove(0, sent);
    }
    drop(write_watch_);
  }

  void watch_writing(void (PlainConnection::*then)()) {
    drop(write_watch_);
    write_watch_ = new QSocketNotifier(socket_, QSocketNotifier::Write, this);
    connect(write_watch_, &QSocketNotifier::activated, this, then);
  }

  // The connection is over: the socket goes now, and the end is reported when the event
  // loop next runs.
  void end(bool orderly) {
    close_socket();
    QMetaObject::invokeMethod(
        this,
        [this, orderly] {
          if (const auto ended = std::exchange(callbacks_.ended, nullptr)) ended(orderly);
        },
        Qt::QueuedConnection);
  }

  void close_socket() {
    connected_ = false;
    drop(read_watch_);
    drop(write_watch_);
    if (socket_ >= 0) ::close(std::exchange(socket_, -1));
  }

  // A watch may be dropped from inside its own signal: it goes quiet now, and away later.
  static void drop(QSocketNotifier*& watch) {
    if (!watch) return;
    watch->setEnabled(false);
    std::exchange(watch, nullptr)->deleteLater();
  }

  Callbacks callbacks_;
  quint16 port_;
  int lookup_ = -1;
  QList<QHostAddress> addresses_;
  QHostAddress peer_;
  int socket_ = -1;
  bool connected_ = false;
  QSocketNotifier* read_watch_ = nullptr;
  QSocketNotifier* write_watch_ = nullptr;
  QByteArray unsent_;
};

}  // namespace

Connection* open_plain_connection(const QString& host, quint16 port,
                                  Connection::Callbacks callbacks, QObject* parent) {
  return new PlainConnection(host, port, std::move(callbacks), parent);
}

}  // namespace zhavik::news
