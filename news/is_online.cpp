#include "news/is_online.h"

#ifdef _WIN32
#include <windows.h>
#include <wininet.h>
#else
#include <QNetworkInterface>
#endif

namespace zhavik::news {

#ifdef _WIN32
bool ConnectedStateOnlineCheck::IsOnline(std::uint32_t& flags, QString& connection_name) {
  // One character more than the length given, so that the name always ends with a NUL.
  wchar_t name[513] = {};
  DWORD state = 0;
  const BOOL online = InternetGetConnectedStateExW(&state, name, 512, 0);
  flags = state;
  connection_name = QString::fromWCharArray(name);
  return online == TRUE;
}
#else
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
#endif

}  // namespace zhavik::news
