#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <functional>

// The connections the news client sends its request on. Two kinds: a plain TCP connection
// on the system's own sockets, which tells a reset from an orderly close (Qt's sockets
// report both as "the remote host closed the connection", and a body without a length ends
// with its connection, so a reset in its middle would read as the whole page); and one on
// Qt's sockets for what only they do: TLS and SOCKS proxies.
namespace zhavik::news {

class Connection : public QObject {
 public:
  // What the connection reports. None is called from inside one of its own functions (the
  // constructor, write, read) nor after close().
  struct Callbacks {
    // Connected, through TLS where asked: the request may be written. `peer` is the address
    // connected to, the proxy's when the connection goes through one.
    std::function<void(const QHostAddress& peer)> opened;
    // Bytes have arrived.
    std::function<void()> readable;
    // Nothing more will arrive; what arrived before can still be read. `orderly` when the
    // server closed its end in order; false when the connection could not be made, broke
    // or was reset.
    std::function<void(bool orderly)> ended;
  };

  using QObject::QObject;
  // Sends `bytes` once the connection is open: at once what the system takes, the rest as
  // it takes it.
  virtual void write(const QByteArray& bytes) = 0;
  // At most `most` of the bytes that have arrived and not yet been read; empty when none.
  virtual QByteArray read(qint64 most) = 0;
  // Ends the connection at once: nothing more is read or written, and nothing reported.
  virtual void close() = 0;
};

// A plain TCP connection straight to `host`:`port` (a name or an address). Connecting starts
// when the event loop next runs. On a system without a native one (see CMakeLists.txt) it
// is Qt's socket, where a reset counts as an orderly close.
Connection* open_plain_connection(const QString& host, quint16 port,
                                  Connection::Callbacks callbacks, QObject* parent);

// A connection on Qt's sockets to `host`:`port`: TLS when `tls`, through `proxy` (a SOCKS
// proxy, an HTTP proxy's tunnel, or none). Qt tells no reset from a close: an end counts as
// orderly unless Qt names another error. Connecting starts when the event loop next runs.
Connection* open_socket_connection(const QString& host, quint16 port, bool tls,
                                   const QNetworkProxy& proxy, Connection::Callbacks callbacks,
                                   QObject* parent);

}  // namespace zhavik::news
