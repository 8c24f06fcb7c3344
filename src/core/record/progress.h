#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <functional>

namespace faultscope {

// Lets a long loop hand control to the user interface now and then, but at most every
// interval: asking the clock is cheap, processing events after every sample is not.
// The callback may throw LoadCancelled to stop the loop.
class ProgressPump {
  public:
    using Callback = std::function<void(std::int64_t done)>;

    explicit ProgressPump(Callback callback = {}, int intervalMs = 30);

    void Tick(std::int64_t done) {
        if (!callback_ || (++calls_ & 63U) != 0) {
            return;
        }
        if (timer_.elapsed() >= intervalMs_) {
            Fire(done);
        }
    }
    // Calls back if the interval has passed, for loops whose steps are long enough to ask the
    // clock every time.
    void Poll(std::int64_t done) {
        if (callback_ && timer_.elapsed() >= intervalMs_) {
            Fire(done);
        }
    }
    // Calls back now, whatever the time (between steps of a load).
    void Fire(std::int64_t done);

  private:
    Callback callback_;
    QElapsedTimer timer_;
    int intervalMs_;
    std::uint32_t calls_ = 0;
};

}  // namespace faultscope
