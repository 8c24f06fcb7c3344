#include "core/analysis/parallel_harmonics.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "core/record/load_error.h"
#include "core/record/progress.h"

namespace faultscope {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(30);

// The work shared by the workers: the next channel to take, the ones done, a stop flag, and the
// error of each channel.
class FillJob {
  public:
    FillJob(std::span<const double> xMs, std::span<AnalogColumns> analog, double frequency,
            std::span<const std::string> channelIds, std::span<const std::size_t> channels,
            std::span<HarmonicTraceColumns* const> traces, HarmonicPart part)
        : xMs_(xMs),
          analog_(analog),
          frequency_(frequency),
          ids_(channelIds),
          channels_(channels),
          traces_(traces),
          part_(part),
          errors_(channels.size()) {}

    // Takes channels until none is left or the job is stopped.
    void Work() {
        for (;;) {
            const std::size_t k = next_.fetch_add(1);
            if (k >= channels_.size() || stop_.load()) {
                return;
            }
            try {
                FillOne(k);
            } catch (...) {
                errors_[k] = std::current_exception();
            }
            std::lock_guard lock(mutex_);
            ++done_;
            changed_.notify_all();
        }
    }

    // Waits for the workers, polling about every 30 ms; returns when every channel is done.
    void Wait(const std::function<void(std::size_t)>& poll) {
        std::unique_lock lock(mutex_);
        while (done_ < channels_.size() && !Stopped()) {
            changed_.wait_for(lock, kPollInterval);
            if (poll) {
                const std::size_t done = done_;
                lock.unlock();
                poll(done);
                lock.lock();
            }
        }
    }

    void Stop() noexcept { stop_.store(true); }
    [[nodiscard]] bool Stopped() const noexcept { return stop_.load(); }

    // The first error in the order of the channels, after every worker has ended.
    void RethrowFirstError() const {
        for (const std::exception_ptr& error : errors_) {
            if (error) {
                std::rethrow_exception(error);
            }
        }
    }

  private:
    void FillOne(std::size_t k) {
        const std::size_t c = channels_[k];
        AnalogColumns& ch = analog_[c];
        // A stopped job ends a running fill at its next pause.
        ProgressPump pump(
            [this](std::int64_t) {
                if (stop_.load()) {
                    throw LoadCancelled();
                }
            },
            0);
        HarmonicTraceColumns* trace = traces_.empty() ? nullptr : traces_[k];
        // The analysis reads values side by side: one channel at a time is widened to doubles.
        const std::vector<double> y = ch.Values();
        const std::vector<std::size_t> gaps = GapSamples(ch.Samples());
        const HarmonicFillOptions options{
            .channelId = ids_[c], .pump = &pump, .trace = trace, .gapSamples = gaps};
        if (part_ == HarmonicPart::Drawing) {
            FillHarmonics(xMs_, y, frequency_, ch.harmonics, options);
        } else {
            FillFundamental(xMs_, y, frequency_, ch.fundamental, options);
        }
    }

    std::span<const double> xMs_;
    std::span<AnalogColumns> analog_;
    double frequency_;
    std::span<const std::string> ids_;
    std::span<const std::size_t> channels_;
    std::span<HarmonicTraceColumns* const> traces_;
    HarmonicPart part_;
    std::vector<std::exception_ptr> errors_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t done_ = 0;
};

void ClearChannels(std::span<AnalogColumns> analog, std::span<const std::size_t> channels,
                   HarmonicPart part) {
    for (const std::size_t c : channels) {
        if (part == HarmonicPart::Drawing) {
            analog[c].harmonics.Clear();
        } else {
            analog[c].fundamental.Clear();
        }
    }
}

}  // namespace

unsigned FillThreads(unsigned requested, std::size_t pieces) noexcept {
    const unsigned wanted =
        requested != 0 ? requested : std::max(1U, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(wanted, std::max<std::size_t>(pieces, 1)));
}

void FillChannelsHarmonics(std::span<const double> xMs, std::span<AnalogColumns> analog,
                           double frequency, std::span<const std::string> channelIds,
                           std::span<const std::size_t> channels,
                           const ParallelFillOptions& options) {
    FillJob job(xMs, analog, frequency, channelIds, channels, options.traces, options.part);
    const unsigned threads = FillThreads(options.threads, channels.size());
    // With a poll to answer, the calling thread only waits, even for one worker.
    if (threads <= 1 && !options.poll) {
        job.Work();
    } else {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        try {
            for (unsigned t = 0; t < threads; ++t) {
                workers.emplace_back([&job] { job.Work(); });
            }
            job.Wait(options.poll);
        } catch (...) {
            // The workers end at their next pause and are joined before the job goes away.
            job.Stop();
            workers.clear();
            ClearChannels(analog, channels, options.part);
            throw;
        }
        workers.clear();
    }
    try {
        job.RethrowFirstError();
    } catch (...) {
        ClearChannels(analog, channels, options.part);
        throw;
    }
}

}  // namespace faultscope
