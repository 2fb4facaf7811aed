#pragma once

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, file permissions hold for this thread as for an ordinary user, also when
// the tests run as root (as in CI's containers): root's power to write where they say no is
// taken out of effect, and put back after.
class PermissionsHold {
 public:
  PermissionsHold() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    changed_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~PermissionsHold() {
    if (changed_) syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool changed_ = false;
};
#endif
