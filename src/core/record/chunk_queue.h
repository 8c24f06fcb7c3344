#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "core/record/sample_chunk.h"

namespace faultscope {

// Pieces of a sample file read on helper threads and handed back in the order they were added.
// The thread that adds them reads pieces too while it waits for the oldest, so it never idles
// while a piece is left, and a helper the system holds back delays it only when nothing else is
// left to read. The text of a piece must stay valid until the piece is taken back.
class ChunkQueue {
  public:
    // Starts `helpers` threads (none: every piece is read by the calling thread).
    ChunkQueue(const ChunkShape& shape, std::size_t helpers);
    // Stops the helpers after the piece each one is reading, and joins them.
    ~ChunkQueue();
    ChunkQueue(const ChunkQueue&) = delete;
    ChunkQueue& operator=(const ChunkQueue&) = delete;

    // Adds a piece of whole lines, of which at most `maxLines` are read.
    void Add(std::string_view text, std::size_t maxLines);
    [[nodiscard]] bool Empty() const noexcept { return slots_.empty(); }
    // The oldest piece added and not yet taken back, once it is read.
    const SampleChunk& Oldest();
    // Takes the oldest piece back.
    void PopOldest();

  private:
    enum class State { Queued, Reading, Done };
    struct Slot {
        std::string_view text;
        std::size_t maxLines;
        SampleChunk chunk;
        State state = State::Queued;
    };

    void Help(std::stop_token stop);
    // Reads the first queued piece; called and returning with the lock held.
    void ReadNext(std::unique_lock<std::mutex>& lock);
    [[nodiscard]] bool AnyQueued() const noexcept { return queued_ < slots_.size(); }

    const ChunkShape& shape_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Slot> slots_;  // adding and removing at the ends keeps references to the others
    std::size_t queued_ = 0;  // index of the first queued slot: slots before it are taken
    std::vector<std::jthread> helpers_;
};

}  // namespace faultscope
