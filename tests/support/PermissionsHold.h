#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

// While it lives, this thread is held to the files' permissions as any user is: the superuser's
// power to write where they say no (CAP_DAC_OVERRIDE) leaves the thread's effective set and comes
// back at the end. Without that power nothing changes.
class PermissionsHold {
  public:
    PermissionsHold() {
        saved_ = syscall(SYS_capget, &header_, before_) == 0;
        if (!saved_) return;
        __user_cap_data_struct held[2] = {before_[0], before_[1]};
        held[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~CAP_TO_MASK(CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &header_, held);
    }
    ~PermissionsHold() {
        if (saved_) syscall(SYS_capset, &header_, before_);
    }
    PermissionsHold(const PermissionsHold&) = delete;
    PermissionsHold& operator=(const PermissionsHold&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct before_[2]{};
    bool saved_ = false;
};

}  // namespace testsupport
