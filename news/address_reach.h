#pragma once

#include <QHostAddress>

// How far from the user's machine an address lies, for the news client's redirects: a
// server out on the Internet must not send the client on to the machine itself or into the
// user's own network, where services answer that never meant to face the Internet.
namespace zhavik::news {

// Ordered from the most public to the most private.
enum class Reach {
  kPublic,    // anything else, and an address not known (null)
  kPrivate,   // the user's network: RFC 1918, shared (100.64/10), link-local, unique local
  kLoopback,  // the machine itself: 127/8, ::1, and the unspecified 0.0.0.0 and ::
};

// IPv4 addresses written as IPv6 (::ffff:a.b.c.d) count as the IPv4 address.
Reach reach_of(const QHostAddress& address);

}  // namespace zhavik::news
