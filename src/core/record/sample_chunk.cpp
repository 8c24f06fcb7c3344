#include "core/record/sample_chunk.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "core/record/channel_data.h"
#include "core/record/load_error.h"
#include "core/record/text_fields.h"

namespace faultscope {
namespace {

std::string_view FirstField(std::string_view line) noexcept {
    return line.substr(0, line.find(','));
}

constexpr const char* kFieldCountMessage =
    "Длина строки данных не соответствует кол-ву каналов. Номер строки: ";

// The message `prefix` ends with the sample number the line starts with.
[[noreturn]] void RaiseAbout(std::string_view line, const char* prefix) {
    const std::string_view number = TrimBlanks(FirstField(line));
    if (number.empty()) {
        throw UnnumberedLineError(prefix);
    }
    throw LoadError(prefix + std::string(number));
}

[[noreturn]] void RaiseLine(std::string_view line) {
    RaiseAbout(line, "Ошибка разбора строки данных: ");
}

// Walks the fields of one line in a single pass: each number is converted where it stands and
// the field's end is found by the conversion itself, not by a separate search.
constexpr double kLargestRawValue = 1e150;

class FieldCursor {
  public:
    explicit FieldCursor(std::string_view line)
        : p_(line.data()), end_(line.data() + line.size()), more_(!line.empty()) {}

    [[nodiscard]] bool More() const noexcept { return more_; }

    // Converts the next field; false when it is not a clean number. Always moves past it.
    template <typename T>
    bool Next(T& value) noexcept {
        std::int64_t whole = 0;
        if (NextWhole<T>(whole)) {
            value = static_cast<T>(whole);
            return true;
        }
        return NextAny(value);
    }

    // A value field; `isWhole` tells whether it was a whole number, then also in `whole`.
    bool NextValue(double& value, std::int64_t& whole, bool& isWhole) noexcept {
        isWhole = NextWhole<double>(whole);
        if (isWhole) {
            value = static_cast<double>(whole);
            return true;
        }
        return NextAny(value);
    }

  private:
    // The common field, a short integer alone between its separators, without a call; false
    // leaves the field to NextAny. The value is the one NextAny gives, bit for bit.
    template <typename T>
    bool NextWhole(std::int64_t& value) noexcept {
        constexpr std::ptrdiff_t kMaxDigits = 18;  // always within std::int64_t
        const char* q = p_;
        const bool negative = q < end_ && *q == '-';
        q += negative ? 1 : 0;
        const char* first = q;
        const char* last = first + std::min(kMaxDigits, end_ - first);
        std::uint64_t whole = 0;
        for (; q < last && static_cast<unsigned char>(*q - '0') < 10; ++q) {
            whole = whole * 10 + static_cast<unsigned char>(*q - '0');
        }
        // A negative zero keeps its sign only in the decimal conversion.
        const bool negativeZero = std::is_floating_point_v<T> && negative && whole == 0;
        if (q == first || (q < end_ && *q != ',') || negativeZero) {
            return false;
        }
        const auto signedWhole = static_cast<std::int64_t>(whole);
        value = negative ? -signedWhole : signedWhole;
        more_ = q < end_;
        p_ = more_ ? q + 1 : q;
        return true;
    }

    template <typename T>
    bool NextAny(T& value) noexcept {
        SkipBlanks();
        if (p_ < end_ && *p_ == '+' && end_ - p_ > 1 && p_[1] != '-' && p_[1] != '+') {
            ++p_;
        }
        const auto [stop, ec] = Convert(value);
        bool ok = ec == std::errc() && stop != p_;
        if constexpr (std::is_floating_point_v<T>) {
            // A raw value beyond any recorder's range: kept as a gap, it would still reach the
            // harmonic sums, whose squares must stay finite.
            ok = ok && std::fabs(value) <= kLargestRawValue;
        }
        p_ = ok ? stop : p_;
        SkipBlanks();
        if (p_ == end_) {
            more_ = false;
            return ok;
        }
        if (*p_ == ',') {
            ++p_;
            return ok;
        }
        SkipPastComma();
        return false;
    }

    // Integers convert as integers; a value field falls back to a double where it is not one.
    template <typename T>
    std::from_chars_result Convert(T& value) const noexcept {
        if constexpr (std::is_floating_point_v<T>) {
            std::int64_t whole = 0;
            const auto result = std::from_chars(p_, end_, whole);
            // The same double as the decimal conversion, except for a negative zero, whose sign
            // only the decimal conversion keeps.
            const bool clean = result.ec == std::errc() && result.ptr != p_ &&
                               (result.ptr == end_ || *result.ptr == ',' || *result.ptr == ' ' ||
                                *result.ptr == '\t') &&
                               !(whole == 0 && *p_ == '-');
            if (clean) {
                value = static_cast<T>(whole);
                return result;
            }
        }
        return std::from_chars(p_, end_, value);
    }

  public:
    // Counts the fields left, without converting them.
    [[nodiscard]] std::size_t CountRest() const noexcept {
        return more_ ? static_cast<std::size_t>(std::count(p_, end_, ',')) + 1 : 0;
    }

  private:
    void SkipBlanks() noexcept {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t')) {
            ++p_;
        }
    }
    void SkipPastComma() noexcept {
        const auto* comma = static_cast<const char*>(std::memchr(p_, ',', end_ - p_));
        more_ = comma != nullptr;
        p_ = more_ ? comma + 1 : end_;
    }

    const char* p_;
    const char* end_;
    bool more_;
};

// Converts lines into the columns of one chunk. The discrete states are compared with the ones
// of the chunk's own earlier lines only; its first line records every state, and the join drops
// what did not change across the seam.
class LineConverter {
  public:
    LineConverter(const ChunkShape& shape, SampleChunk& chunk)
        : cfg_(shape.cfg),
          timeBase_(shape.timeBase),
          chunk_(chunk),
          values_(std::size_t{shape.cfg.a} + shape.cfg.D),
          wholes_(shape.cfg.a),
          isWhole_(shape.cfg.a),
          lastState_(shape.cfg.D, std::numeric_limits<double>::quiet_NaN()) {
        hasStrip_.reserve(shape.cfg.D);
        for (const DigitalChannel& channel : shape.cfg.digital) {
            hasStrip_.push_back(DiscreteHasStrip(channel) ? 1 : 0);
        }
    }

    // Raises LoadError with the line's message: the field count is checked before any value,
    // and nothing is kept of a bad line.
    void Convert(std::string_view line) {
        FieldCursor cursor(line);
        std::int64_t n = 0;
        std::int64_t stamp = 0;
        std::size_t count = 0;
        bool ok = true;
        if (cursor.More()) {
            ++count;
            ok = cursor.Next(n) && ok;
        }
        if (cursor.More()) {
            ++count;
            ok = cursor.Next(stamp) && ok;
        }
        const std::size_t a = cfg_.a;
        for (std::size_t i = 0; i < a && cursor.More(); ++i) {
            ++count;
            bool isWhole = false;
            ok = cursor.NextValue(values_[i], wholes_[i], isWhole) && ok;
            isWhole_[i] = isWhole ? 1 : 0;
        }
        for (std::size_t i = a; i < values_.size() && cursor.More(); ++i) {
            ++count;
            ok = cursor.Next(values_[i]) && ok;
        }
        if (count + cursor.CountRest() != values_.size() + 2) {
            RaiseFieldCount(line);
        }
        if (!ok || !StatesValid()) {
            RaiseLine(line);
        }
        std::int32_t t = 0;
        try {
            t = SampleTime(n, stamp);
        } catch (const LoadError&) {
            RaiseLine(line);
        }
        Append(t);
    }

  private:
    std::int32_t SampleTime(std::int64_t n, std::int64_t stamp) const {
        constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
        if (n < lo || n > hi || stamp < lo || stamp > hi) {
            throw LoadError("number");
        }
        return timeBase_.RateTime(stamp, n);
    }

    // A changed state of a channel with a strip must be exactly 0 or 1.
    [[nodiscard]] bool StatesValid() const noexcept {
        const std::size_t a = cfg_.a;
        for (std::size_t i = 0; i < cfg_.D; ++i) {
            const double state = values_[a + i];
            if (hasStrip_[i] != 0 && state != lastState_[i] && state != 0.0 && state != 1.0) {
                return false;
            }
        }
        return true;
    }

    void Append(std::int32_t t) {
        const std::size_t line = chunk_.timeUs.size();
        chunk_.timeUs.push_back(t);
        chunk_.xMs.push_back(t / 1000.0);
        const std::size_t a = cfg_.a;
        for (std::size_t i = 0; i < a; ++i) {
            if (isWhole_[i] != 0) {
                chunk_.analog[i].AppendWhole(wholes_[i]);
            } else {
                chunk_.analog[i].AppendRaw(values_[i]);
            }
        }
        for (std::size_t i = 0; i < cfg_.D; ++i) {
            // An unchanged state adds nothing: it costs no call.
            const double state = values_[a + i];
            if (hasStrip_[i] != 0 && state != lastState_[i]) {
                chunk_.changes[i].push_back({line, state});
                lastState_[i] = state;
            }
        }
    }

    const RecordConfig& cfg_;
    const TimeBase& timeBase_;
    SampleChunk& chunk_;
    std::vector<double> values_;
    std::vector<std::int64_t> wholes_;  // per analog channel, where isWhole_ says so
    std::vector<std::uint8_t> isWhole_;
    std::vector<double> lastState_;  // per discrete channel; not a number before the first
    std::vector<std::uint8_t> hasStrip_;
};

}  // namespace

const char* FindLineBreak(const char* p, const char* end) noexcept {
    const auto size = static_cast<std::size_t>(end - p);
    // Two vectorised searches beat one byte-by-byte scan for either character.
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', size));
    const auto crSpan = lf != nullptr ? static_cast<std::size_t>(lf - p) : size;
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', crSpan));
    return cr != nullptr ? cr : lf;
}

const char* PastLineBreak(const char* lineBreak, const char* end) noexcept {
    const char* next = lineBreak + 1;
    return *lineBreak == '\r' && next < end && *next == '\n' ? next + 1 : next;
}

void RaiseFieldCount(std::string_view line) {
    RaiseAbout(line, kFieldCountMessage);
}

void RaiseMissingLine(std::size_t lineNumber) {
    throw LoadError(kFieldCountMessage + std::to_string(lineNumber));
}

void RaiseNumbered(const UnnumberedLineError& error, std::size_t lineNumber) {
    throw LoadError(error.what() + std::to_string(lineNumber));
}

namespace {

void StartChunk(const ChunkShape& shape, std::size_t expectedLines, SampleChunk& chunk) {
    chunk = SampleChunk{};
    chunk.timeUs.reserve(expectedLines);
    chunk.xMs.reserve(expectedLines);
    chunk.lineBytes.reserve(expectedLines);
    chunk.analog.resize(shape.cfg.a);
    for (std::size_t i = 0; i < shape.cfg.a; ++i) {
        chunk.analog[i].SetRawScale(RawScaleOf(shape.cfg.analog[i]));
        chunk.analog[i].Reserve(expectedLines);
    }
    chunk.changes.resize(shape.cfg.D);
}

void ReadLines(std::string_view text, const ChunkShape& shape, std::size_t maxLines,
               SampleChunk& chunk) {
    LineConverter converter(shape, chunk);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && chunk.Lines() < maxLines) {
        const char* lineBreak = FindLineBreak(p, end);
        const std::string_view line(p, static_cast<std::size_t>((lineBreak ? lineBreak : end) - p));
        if (line.size() >= shape.maxLineBytes) {
            throw LoadError("Строка файла данных слишком длинная");
        }
        chunk.lineBytes.push_back(line.size() + 1);
        chunk.errorCounted = true;
        converter.Convert(line);
        chunk.errorCounted = false;
        p = lineBreak != nullptr ? PastLineBreak(lineBreak, end) : end;
    }
}

}  // namespace

void ReadSampleChunk(std::string_view text, const ChunkShape& shape, std::size_t maxLines,
                     SampleChunk& chunk) noexcept {
    try {
        // Every field holds at least one character and a separator.
        const std::size_t fields = std::size_t{shape.cfg.a} + shape.cfg.D + 2;
        StartChunk(shape, std::min(maxLines, text.size() / (2 * fields) + 1), chunk);
        ReadLines(text, shape, maxLines, chunk);
    } catch (...) {
        chunk.error = std::current_exception();
    }
}

}  // namespace faultscope
