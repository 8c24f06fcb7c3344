#pragma once

#include <cstddef>
#include <vector>

namespace faultscope {

// The largest of the values pushed at the last `window` indices, kept with a queue of the values
// that can still become the largest: amortised constant cost per push, whatever the window.
class SlidingMaximum {
  public:
    explicit SlidingMaximum(std::size_t window) : window_(window), ring_(window + 1) {}

    void Clear() noexcept { head_ = size_ = 0; }

    // Adds the value at `index`, which must exceed every index pushed since the last Clear.
    void Push(std::size_t index, double value) noexcept {
        while (size_ != 0 && index - ring_[head_].index >= window_) {
            head_ = Next(head_);
            --size_;
        }
        while (size_ != 0 && ring_[Back()].value <= value) {
            --size_;
        }
        ring_[At(size_)] = {index, value};
        ++size_;
    }

    // The largest value in the window; 0 when nothing was pushed.
    [[nodiscard]] double Max() const noexcept { return size_ != 0 ? ring_[head_].value : 0.0; }

  private:
    struct Entry {
        std::size_t index;
        double value;
    };

    [[nodiscard]] std::size_t At(std::size_t offset) const noexcept {
        const std::size_t i = head_ + offset;
        return i < ring_.size() ? i : i - ring_.size();
    }
    [[nodiscard]] std::size_t Back() const noexcept { return At(size_ - 1); }
    [[nodiscard]] std::size_t Next(std::size_t i) const noexcept {
        return i + 1 < ring_.size() ? i + 1 : 0;
    }

    std::size_t window_;
    std::vector<Entry> ring_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

}  // namespace faultscope
