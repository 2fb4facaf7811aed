// The plain connection where no native one is written for the system: Qt's socket, which
// reports a reset as an orderly close, so a body without a length that a reset cuts short
// reads as whole there. A native one (see plain_connection_posix.cpp) takes this one's place.

#include <utility>

#include "news/connection.h"

namespace zhavik::news {

Connection* open_plain_connection(const QString& host, quint16 port,
                                  Connection::Callbacks callbacks, QObject* parent) {
  return open_socket_connection(host, port, false, QNetworkProxy::NoProxy, std::move(callbacks),
                                parent);
}

}  // namespace zhavik::news
