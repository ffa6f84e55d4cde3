#pragma once
// Files the player cannot read, even when the tests run as root: while a
// WithoutFileAccessOverride lives, the calling thread loses the capabilities that
// let root read and write past permission bits, so a file with mode 0000 is as
// unreadable as it is for the player. For an ordinary user it changes nothing.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

class WithoutFileAccessOverride {
public:
    WithoutFileAccessOverride() {
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, saved_, sizeof reduced);
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        active_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutFileAccessOverride() {
        if (active_) ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutFileAccessOverride(const WithoutFileAccessOverride&) = delete;
    WithoutFileAccessOverride& operator=(const WithoutFileAccessOverride&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};
