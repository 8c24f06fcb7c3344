#include "core/record/record_data.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <type_traits>

namespace faultscope {

void HarmonicColumns::Clear() noexcept {
    rms1.clear();
    rms2.clear();
    rms3.clear();
    rms5.clear();
    angle.clear();
}

void HarmonicColumns::Reserve(std::size_t n) {
    rms1.reserve(n);
    rms2.reserve(n);
    rms3.reserve(n);
    rms5.reserve(n);
    angle.reserve(n);
}

const std::vector<float>& HarmonicColumns::Rms(std::size_t k) const noexcept {
    const std::vector<float>* columns[] = {&rms1, &rms2, &rms3, &rms5};
    static_assert(std::size(columns) == kHarmonicOrders.size());
    return *columns[k];
}

namespace {

template <typename T>
bool Holds(double raw) noexcept {
    if (!(raw >= std::numeric_limits<T>::min() && raw <= std::numeric_limits<T>::max())) {
        return false;
    }
    // A fraction does not survive the round trip; a negative zero would come back as +0 and
    // change the sign of a value of exactly 0.
    const auto whole = static_cast<T>(raw);
    return static_cast<double>(whole) == raw && !(whole == 0 && std::signbit(raw));
}

}  // namespace

void AnalogColumns::SetRawScale(const RawScale& scale) {
    *this = AnalogColumns();
    scale_ = scale;
    if (Holds<std::int16_t>(scale.min) && Holds<std::int16_t>(scale.max)) {
        storage_ = Storage::Raw16;
    } else if (Holds<std::int32_t>(scale.min) && Holds<std::int32_t>(scale.max)) {
        storage_ = Storage::Raw32;
    } else {
        storage_ = Storage::RawDouble;
    }
}

void AnalogColumns::Reserve(std::size_t samples) {
    reserved_ = samples;
    switch (storage_) {
        case Storage::Raw16:
            raw16_.reserve(samples);
            break;
        case Storage::Raw32:
            raw32_.reserve(samples);
            break;
        case Storage::Computed:  // gap flags only once there is a gap
        case Storage::RawDouble:
            values_.reserve(samples);
            break;
    }
}

// Moves the samples kept so far into the wider column `into` when a sample does not fit.
template <typename T>
void AnalogColumns::Widen(std::vector<T>& into) {
    into.reserve(std::max(reserved_, size_ + 1));
    if (storage_ == Storage::Raw16) {
        into.assign(raw16_.begin(), raw16_.end());
    } else {
        into.assign(raw32_.begin(), raw32_.end());
    }
    std::vector<std::int16_t>().swap(raw16_);
    if constexpr (!std::is_same_v<T, std::int32_t>) {
        std::vector<std::int32_t>().swap(raw32_);
    }
}

void AnalogColumns::AppendRaw(double raw) {
    if (storage_ == Storage::Raw16 && !Holds<std::int16_t>(raw)) {
        if (Holds<std::int32_t>(raw)) {
            Widen(raw32_);
            storage_ = Storage::Raw32;
        } else {
            Widen(values_);
            storage_ = Storage::RawDouble;
        }
    } else if (storage_ == Storage::Raw32 && !Holds<std::int32_t>(raw)) {
        Widen(values_);
        storage_ = Storage::RawDouble;
    }
    switch (storage_) {
        case Storage::Raw16:
            raw16_.push_back(static_cast<std::int16_t>(raw));
            break;
        case Storage::Raw32:
            raw32_.push_back(static_cast<std::int32_t>(raw));
            break;
        case Storage::RawDouble:
            values_.push_back(raw);
            break;
        case Storage::Computed:
            throw std::logic_error("raw sample appended to a computed channel");
    }
    ++size_;
}

void AnalogColumns::WidenTo(Storage storage) {
    if (storage == storage_) {
        return;
    }
    if (storage == Storage::Raw32) {
        Widen(raw32_);
    } else {
        Widen(values_);
    }
    storage_ = storage;
}

template <typename T>
void AnalogColumns::AppendFrom(std::vector<T>& into, const AnalogColumns& from,
                               std::size_t count) const {
    const auto append = [&](const auto& source) {
        into.insert(into.end(), source.begin(),
                    source.begin() + static_cast<std::ptrdiff_t>(count));
    };
    switch (from.storage_) {
        case Storage::Raw16:
            return append(from.raw16_);
        case Storage::Raw32:
            return append(from.raw32_);
        case Storage::RawDouble:
        case Storage::Computed:
            return append(from.values_);
    }
}

AnalogColumns::Storage AnalogColumns::StorageFor(std::size_t count, Storage atLeast) const {
    // Raw16 < Raw32 < RawDouble. Samples beyond `count` may have widened `from` alone.
    Storage needed = atLeast;
    for (std::size_t i = 0; i < count && needed < storage_; ++i) {
        const double raw = storage_ == Storage::Raw32 ? raw32_[i] : values_[i];
        if (!Holds<std::int16_t>(raw)) {
            needed =
                std::max(needed, Holds<std::int32_t>(raw) ? Storage::Raw32 : Storage::RawDouble);
        }
    }
    return needed;
}

void AnalogColumns::AppendSamples(const AnalogColumns& from, std::size_t count) {
    if (storage_ == Storage::Computed || from.storage_ == Storage::Computed) {
        throw std::logic_error("raw samples appended to or from a computed channel");
    }
    count = std::min(count, from.size_);
    WidenTo(from.StorageFor(count, storage_));
    switch (storage_) {
        case Storage::Raw16:
            AppendFrom(raw16_, from, count);
            break;
        case Storage::Raw32:
            AppendFrom(raw32_, from, count);
            break;
        case Storage::RawDouble:
        case Storage::Computed:
            AppendFrom(values_, from, count);
            break;
    }
    size_ += count;
}

void AnalogColumns::AppendValue(double value, bool gap) {
    if (storage_ != Storage::Computed) {
        throw std::logic_error("computed value appended to a raw channel");
    }
    values_.push_back(value);
    if (gap && gaps_.empty()) {
        // Most computed channels have no gap and so cost no flags.
        gaps_.reserve(std::max(reserved_, size_ + 1));
        gaps_.assign(size_, 0);
    }
    if (gap || !gaps_.empty()) {
        gaps_.push_back(gap ? 1 : 0);
    }
    ++size_;
}

AnalogColumns AnalogColumns::FromValues(std::span<const double> values,
                                        std::span<const std::uint8_t> gaps) {
    AnalogColumns columns;
    columns.values_.assign(values.begin(), values.end());
    gaps = gaps.first(std::min(gaps.size(), values.size()));
    if (std::ranges::any_of(gaps, [](std::uint8_t gap) { return gap != 0; })) {
        columns.gaps_.assign(values.size(), 0);
        std::ranges::copy(gaps, columns.gaps_.begin());
    }
    columns.size_ = values.size();
    return columns;
}

SampleColumn AnalogColumns::Samples() const noexcept {
    switch (storage_) {
        case Storage::Raw16:
            return {raw16_, scale_};
        case Storage::Raw32:
            return {raw32_, scale_};
        case Storage::RawDouble:
            return {values_, scale_};
        case Storage::Computed:
            break;
    }
    return {values_, gaps_};
}

std::vector<double> AnalogColumns::Values() const {
    std::vector<double> values(size_);
    Samples().Read(0, values);
    return values;
}

std::size_t AnalogColumns::SampleBytes() const noexcept {
    return raw16_.capacity() * sizeof(std::int16_t) + raw32_.capacity() * sizeof(std::int32_t) +
           values_.capacity() * sizeof(double) + gaps_.capacity();
}

}  // namespace faultscope
