#pragma once

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QString>

namespace faultscope::test {

// Makes `folder` read-only for as long as it lives, for the calling thread even when it runs as
// root: the permission bits go to r-x and the thread's right to override them is set aside (it
// stays permitted and comes back at the end).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& folder) : folder_(folder.toStdString()) {
        chmod(folder_.c_str(), 0555);
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) == 0) {
            __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
            lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
            lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
        }
    }
    ~ReadOnlyFolder() {
        if (lowered_) {
            syscall(SYS_capset, &header_, saved_);
        }
        chmod(folder_.c_str(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    std::string folder_;
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

}  // namespace faultscope::test
