#include "gui/chart/envelope_pyramid.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>
#include <type_traits>

namespace faultscope {
namespace {

template <typename Blocks, typename Bounds>
void AddBlocks(Bounds& into, const Blocks& blocks, std::size_t first, std::size_t last) noexcept {
    for (std::size_t b = first; b < last; ++b) {
        into.Add(blocks[b]);
    }
}

}  // namespace

EnvelopePyramid::EnvelopePyramid(const SampleColumn& values) : values_(values) {
    if (values_.HasWholeRawValues()) {
        if (values_.kind() == SampleColumn::Kind::Raw16) {
            BuildLevels(levels_.emplace<Levels<std::int16_t>>());
        } else {
            BuildLevels(levels_.emplace<Levels<std::int32_t>>());
        }
    } else if (values_.kind() == SampleColumn::Kind::Float) {
        BuildLevels(levels_.emplace<Levels<float>>());
    } else {
        BuildLevels(levels_.emplace<Levels<double>>());
    }
}

std::shared_ptr<const EnvelopePyramid> EnvelopePyramid::Shared(const SampleColumn& values) {
    // A live pyramid means its column is alive, so no other column can sit at its storage.
    using Key = std::tuple<const void*, std::size_t, SampleColumn::Kind, const std::uint8_t*>;
    static std::mutex mutex;
    static std::map<Key, std::weak_ptr<const EnvelopePyramid>> pyramids;
    const Key key{values.Storage(), values.size(), values.kind(), values.GapStorage()};
    const std::lock_guard lock(mutex);
    std::erase_if(pyramids, [](const auto& entry) { return entry.second.expired(); });
    if (auto held = pyramids[key].lock()) {
        return held;
    }
    auto made = std::make_shared<const EnvelopePyramid>(values);
    pyramids[key] = made;
    return made;
}

template <typename T>
std::vector<EnvelopePyramid::Bounds<T>> EnvelopePyramid::FirstLevel() const {
    const std::size_t blocks = (values_.size() + kFirstBlock - 1) / kFirstBlock;
    std::vector<Bounds<T>> level(blocks);
    // In pieces, so that the scratch space stays small for any length.
    constexpr std::size_t kPiece = 4096;
    if constexpr (std::is_integral_v<T>) {
        std::vector<std::int32_t> lo(kPiece);
        std::vector<std::int32_t> hi(kPiece);
        for (std::size_t b = 0; b < blocks; b += kPiece) {
            const std::size_t n = std::min(kPiece, blocks - b);
            values_.WholeBlockBounds(b * kFirstBlock, kFirstBlock, std::span(lo).first(n),
                                     std::span(hi).first(n));
            for (std::size_t k = 0; k < n; ++k) {
                if (lo[k] <= hi[k]) {
                    level[b + k] = {static_cast<T>(lo[k]), static_cast<T>(hi[k])};
                }
            }
        }
    } else {
        std::vector<ValueExtent> extents(kPiece);
        for (std::size_t b = 0; b < blocks; b += kPiece) {
            const std::size_t n = std::min(kPiece, blocks - b);
            values_.BlockExtents(b * kFirstBlock, kFirstBlock, std::span(extents).first(n));
            for (std::size_t k = 0; k < n; ++k) {
                if (!extents[k].IsEmpty()) {
                    level[b + k] = {static_cast<T>(extents[k].min), static_cast<T>(extents[k].max)};
                }
            }
        }
    }
    return level;
}

template <typename T>
void EnvelopePyramid::BuildLevels(Levels<T>& levels) const {
    if (values_.size() <= kFirstBlock) {
        return;
    }
    levels.push_back(FirstLevel<T>());
    std::size_t units = levels.back().size();
    while (units > 1) {
        const std::size_t blocks = (units + kFanOut - 1) / kFanOut;
        std::vector<Bounds<T>> upper(blocks);
        const std::vector<Bounds<T>>& below = levels.back();
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::size_t first = b * kFanOut;
            AddBlocks(upper[b], below, first, std::min(units, first + kFanOut));
        }
        levels.push_back(std::move(upper));
        units = blocks;
    }
}

template <typename T>
ValueExtent EnvelopePyramid::ToValues(const Bounds<T>& bounds) const noexcept {
    ValueExtent extent;
    if (bounds.lo > bounds.hi) {
        return extent;
    }
    if constexpr (std::is_integral_v<T>) {
        // a·raw + b is monotonic in raw, so the ends of the raw numbers give the ends of the
        // values, exactly as reading every sample would.
        extent.Add(values_.ScaledValue(bounds.lo));
        extent.Add(values_.ScaledValue(bounds.hi));
    } else {
        extent.Add(static_cast<double>(bounds.lo));
        extent.Add(static_cast<double>(bounds.hi));
    }
    return extent;
}

template <typename T>
ValueExtent EnvelopePyramid::QueryLevels(const Levels<T>& levels, std::size_t first,
                                         std::size_t last) const noexcept {
    // The first level's whole blocks inside the range; the ragged ends are read sample by sample.
    std::size_t upperFirst = (first + kFirstBlock - 1) / kFirstBlock;
    std::size_t upperLast = last / kFirstBlock;
    if (levels.empty() || upperFirst >= upperLast) {
        return values_.Extent(first, last);
    }
    ValueExtent extent = values_.Extent(first, upperFirst * kFirstBlock);
    extent.Add(values_.Extent(upperLast * kFirstBlock, last));
    Bounds<T> bounds;
    // Climb while a whole block of the next level fits, taking the ragged blocks on the way.
    for (std::size_t level = 0;; ++level) {
        const std::vector<Bounds<T>>& blocks = levels[level];
        first = upperFirst;
        last = upperLast;
        upperFirst = (first + kFanOut - 1) / kFanOut;
        upperLast = last / kFanOut;
        if (level + 1 >= levels.size() || upperFirst >= upperLast) {
            AddBlocks(bounds, blocks, first, last);
            break;
        }
        AddBlocks(bounds, blocks, first, upperFirst * kFanOut);
        AddBlocks(bounds, blocks, upperLast * kFanOut, last);
    }
    extent.Add(ToValues(bounds));
    return extent;
}

ValueExtent EnvelopePyramid::Query(std::size_t first, std::size_t last) const noexcept {
    last = std::min(last, values_.size());
    if (first >= last) {
        return {};
    }
    return std::visit([&](const auto& levels) { return QueryLevels(levels, first, last); },
                      levels_);
}

std::size_t EnvelopePyramid::LevelBytes() const noexcept {
    return std::visit(
        [](const auto& levels) {
            std::size_t bytes = 0;
            for (const auto& level : levels) {
                bytes += level.size() * sizeof(level.front());
            }
            return bytes;
        },
        levels_);
}

}  // namespace faultscope
