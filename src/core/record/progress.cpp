#include "core/record/progress.h"

#include <utility>

namespace faultscope {

ProgressPump::ProgressPump(Callback callback, int intervalMs)
    : callback_(std::move(callback)), intervalMs_(intervalMs) {
    timer_.start();
}

void ProgressPump::Fire(std::int64_t done) {
    if (callback_) {
        callback_(done);
    }
    timer_.restart();
}

}  // namespace faultscope
