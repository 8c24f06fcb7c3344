#include "core/record/chunk_queue.h"

namespace faultscope {

ChunkQueue::ChunkQueue(const ChunkShape& shape, std::size_t helpers) : shape_(shape) {
    helpers_.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t) {
        helpers_.emplace_back([this](std::stop_token stop) { Help(stop); });
    }
}

ChunkQueue::~ChunkQueue() {
    for (std::jthread& helper : helpers_) {
        helper.request_stop();
    }
    helpers_.clear();  // joins; a helper ends after the piece it is reading
}

void ChunkQueue::Add(std::string_view text, std::size_t maxLines) {
    {
        const std::lock_guard lock(mutex_);
        slots_.push_back({text, maxLines, SampleChunk{}, State::Queued});
    }
    changed_.notify_one();
}

const SampleChunk& ChunkQueue::Oldest() {
    std::unique_lock lock(mutex_);
    Slot& oldest = slots_.front();
    while (oldest.state != State::Done) {
        if (AnyQueued()) {
            ReadNext(lock);
        } else {
            changed_.wait(lock);
        }
    }
    return oldest.chunk;
}

void ChunkQueue::PopOldest() {
    const std::lock_guard lock(mutex_);
    slots_.pop_front();
    --queued_;
}

void ChunkQueue::Help(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return AnyQueued(); }) && !stop.stop_requested()) {
        ReadNext(lock);
    }
}

void ChunkQueue::ReadNext(std::unique_lock<std::mutex>& lock) {
    Slot& slot = slots_[queued_++];
    slot.state = State::Reading;
    lock.unlock();
    ReadSampleChunk(slot.text, shape_, slot.maxLines, slot.chunk);
    lock.lock();
    slot.state = State::Done;
    changed_.notify_all();
}

}  // namespace faultscope
