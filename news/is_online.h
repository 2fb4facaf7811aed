#pragma once

#include <QString>
#include <cstdint>

// The connectivity check of the news sequence, behind a small interface so that
// tests can say when the machine is on line.
namespace zhavik::news {

class OnlineCheck {
 public:
  virtual ~OnlineCheck() = default;
  // True when the machine has a network connection. `flags` and `connection_name` describe
  // it where the check knows something; nothing reads them.
  virtual bool IsOnline(std::uint32_t& flags, QString& connection_name) = 0;
};

#ifdef _WIN32
// Windows' own answer, from WinINet's InternetGetConnectedStateExW: it also knows modem
// and proxy connections and the "work offline" state. `flags` are WinINet's, and
// `connection_name` the name it gives (at most 512 characters).
class ConnectedStateOnlineCheck : public OnlineCheck {
 public:
  bool IsOnline(std::uint32_t& flags, QString& connection_name) override;
};
using SystemOnlineCheck = ConnectedStateOnlineCheck;
#else
// The machine counts as on line while one of its network interfaces is up, running, not
// the loopback and has an address. `flags` is 0x02 (a LAN connection, in WinINet's terms)
// when on line, else 0; `connection_name` is that interface's name (at most 512 characters).
class InterfaceOnlineCheck : public OnlineCheck {
 public:
  bool IsOnline(std::uint32_t& flags, QString& connection_name) override;
};
using SystemOnlineCheck = InterfaceOnlineCheck;
#endif

}  // namespace zhavik::news
