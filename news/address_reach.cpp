#include "news/address_reach.h"

#include <array>
#include <utility>

namespace zhavik::news {

Reach reach_of(const QHostAddress& address) {
  if (address.isNull()) return Reach::kPublic;
  bool is_ipv4 = false;
  const quint32 ipv4 = address.toIPv4Address(&is_ipv4);
  const QHostAddress plain = is_ipv4 ? QHostAddress(ipv4) : address;
  // Connecting to an unspecified address (0.0.0.0/8, ::) reaches the machine itself.
  if (plain.isLoopback() || (is_ipv4 && ipv4 >> 24 == 0) ||
      plain == QHostAddress(QHostAddress::AnyIPv6))
    return Reach::kLoopback;
  static const std::array<std::pair<QHostAddress, int>, 8> kPrivate{{
      {QHostAddress(QStringLiteral("10.0.0.0")), 8},
      {QHostAddress(QStringLiteral("172.16.0.0")), 12},
      {QHostAddress(QStringLiteral("192.168.0.0")), 16},
      {QHostAddress(QStringLiteral("100.64.0.0")), 10},
      {QHostAddress(QStringLiteral("169.254.0.0")), 16},
      {QHostAddress(QStringLiteral("fc00::")), 7},
      {QHostAddress(QStringLiteral("fe80::")), 10},
      {QHostAddress(QStringLiteral("fec0::")), 10},  // site-local, deprecated yet routed in places
  }};
  for (const auto& [network, bits] : kPrivate)
    if (plain.isInSubnet(network, bits)) return Reach::kPrivate;
  return Reach::kPublic;
}

}  // namespace zhavik::news
