#include "cli/summary_command.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/command_support.h"
#include "cli/record_summary.h"

namespace faultscope::cli {
namespace {

// The records handed out to the workers in turn, and their summaries handed back, to be taken in
// the records' order.
class SummaryQueue {
  public:
    explicit SummaryQueue(std::size_t records) : summaries_(records) {}

    // The next record nobody has taken; nothing once all are taken or the run stops.
    std::optional<std::size_t> Take() {
        const std::scoped_lock lock(mutex_);
        if (stopped_ || next_ == summaries_.size()) {
            return std::nullopt;
        }
        return next_++;
    }

    void Finish(std::size_t record, RecordSummary summary) {
        {
            const std::scoped_lock lock(mutex_);
            summaries_[record] = std::move(summary);
        }
        finished_.notify_all();
    }

    // Waits for the summary of `record` and keeps nothing of it.
    RecordSummary Wait(std::size_t record) {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return summaries_[record].has_value(); });
        RecordSummary summary = std::move(*summaries_[record]);
        summaries_[record].reset();
        return summary;
    }

    void Stop() noexcept {
        const std::scoped_lock lock(mutex_);
        stopped_ = true;
    }

    [[nodiscard]] bool Stopped() {
        const std::scoped_lock lock(mutex_);
        return stopped_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<std::optional<RecordSummary>> summaries_;
    std::size_t next_ = 0;
    bool stopped_ = false;
};

// Stops the workers on every way out of the printing, so that they can be joined.
class StopOnExit {
  public:
    explicit StopOnExit(SummaryQueue& queue) : queue_(queue) {}
    ~StopOnExit() { queue_.Stop(); }

    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

  private:
    SummaryQueue& queue_;
};

}  // namespace

int RunSummary(const SummaryRequest& request, std::ostream& out, std::ostream& err) {
    const std::size_t count = request.records.size();
    const auto workers = static_cast<unsigned>(std::min<std::size_t>(request.jobs, count));
    SummaryQueue queue(count);
    // Records that load at once share the cores; a record alone reads on all of them.
    const RecordSummaryOptions options{.encoding = request.encoding,
                                       .traceFolder = request.traceFolder,
                                       .threads = workers > 1 ? 1U : 0U,
                                       .useTemplate = request.useTemplate,
                                       .cancelled = [&queue] { return queue.Stopped(); }};
    bool failed = false;
    {
        // Declared before the guard, so the workers are joined after it has stopped them.
        std::vector<std::jthread> pool;
        const StopOnExit stopOnExit(queue);
        for (unsigned w = 0; w < workers; ++w) {
            pool.emplace_back([&] {
                while (const std::optional<std::size_t> record = queue.Take()) {
                    queue.Finish(*record, SummariseRecord(request.records[*record], options));
                }
            });
        }
        for (std::size_t record = 0; record < count; ++record) {
            const RecordSummary summary = queue.Wait(record);
            failed = failed || summary.failed;
            for (const std::string& warning : summary.warnings) {
                err << "faultscope-cli: " << request.records[record] << ": " << warning << '\n';
            }
            out << summary.json << '\n';
            out.flush();
            CheckWritten(out);
        }
    }
    return failed ? 1 : 0;
}

}  // namespace faultscope::cli
