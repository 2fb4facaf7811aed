#include "news/is_online.h"

#include <QNetworkInterface>

namespace zhavik::news {

bool InterfaceOnlineCheck::IsOnline(std::uint32_t& flags, QString& connection_name) {
  flags = 0;
  connection_name.clear();
  const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
  for (const QNetworkInterface& network : QNetworkInterface::allInterfaces()) {
    if ((network.flags() & wanted) != wanted) continue;
    if (network.flags() & QNetworkInterface::IsLoopBack) continue;
    if (network.addressEntries().isEmpty()) continue;
    flags = 0x02;
    connection_name = network.humanReadableName().left(512);
    return true;
  }
  return false;
}

}  // namespace zhavik::news
