#include "record/sample_reader.h"

#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

#include "record/channel_data.h"
#include "record/load_error.h"
#include "record/memory_budget.h"
#include "record/native_file.h"
#include "record/text_fields.h"

namespace faultscope {
namespace {

constexpr std::size_t kBlockBytes = 1U << 20;

[[noreturn]] void RaiseFieldCount(std::string_view firstField) {
    throw LoadError("Длина строки данных не соответствует кол-ву каналов. Номер строки: " +
                    std::string(TrimBlanks(firstField)));
}

[[noreturn]] void RaiseLine(std::string_view firstField) {
    throw LoadError("Ошибка разбора строки данных: " + std::string(TrimBlanks(firstField)));
}

// Hands out the lines of a file read in large blocks. A line is valid until the next call.
class LineSource {
  public:
    LineSource(QIODevice& device, std::size_t maxLineBytes) : device_(device), max_(maxLineBytes) {
        // Small files need no full block; the buffer grows when a line needs more.
        const auto size = static_cast<std::size_t>(std::max<qint64>(device.size(), 0));
        buffer_.resize(std::clamp<std::size_t>(size + 1, 4096, kBlockBytes));
    }

    // False at the end of the file.
    bool Next(std::string_view& line) {
        for (;;) {
            if (SplitLine(line)) {
                return true;
            }
            if (eof_) {
                if (begin_ == end_) {
                    return false;
                }
                line = std::string_view(buffer_.data() + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            Refill();
        }
    }

  private:
    bool SplitLine(std::string_view& line) {
        if (skipLf_ && begin_ < end_) {
            skipLf_ = false;
            if (buffer_[begin_] == '\n') {
                ++begin_;
            }
        }
        const char* start = buffer_.data() + begin_;
        const auto size = end_ - begin_;
        // Two vectorised searches beat one byte-by-byte scan for either character.
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', size));
        const auto crSpan = lf != nullptr ? static_cast<std::size_t>(lf - start) : size;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', crSpan));
        const char* p = cr != nullptr ? cr : lf;
        if (p == nullptr) {
            return false;
        }
        line = std::string_view(start, static_cast<std::size_t>(p - start));
        begin_ = static_cast<std::size_t>(p - buffer_.data()) + 1;
        skipLf_ = *p == '\r';
        return true;
    }

    void Refill() {
        if (begin_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == buffer_.size()) {
            if (buffer_.size() >= max_) {
                throw LoadError("Строка файла данных слишком длинная");
            }
            buffer_.resize(std::min(buffer_.size() * 2, max_));
        }
        const qint64 got =
            device_.read(buffer_.data() + end_, static_cast<qint64>(buffer_.size() - end_));
        if (got < 0) {
            throw LoadError("Ошибка чтения файла данных: " + device_.errorString().toStdString());
        }
        end_ += static_cast<std::size_t>(got);
        eof_ = got == 0;
    }

    QIODevice& device_;
    std::size_t max_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipLf_ = false;
};

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

std::string_view FirstField(std::string_view line) noexcept {
    return line.substr(0, line.find(','));
}

class LineConverter {
  public:
    LineConverter(const TCfgFile& cfg, TimeBase& timeBase, RecordData& data)
        : cfg_(cfg),
          timeBase_(timeBase),
          data_(data),
          values_(std::size_t{cfg.a} + cfg.D),
          lastState_(cfg.D, std::numeric_limits<double>::quiet_NaN()) {}

    // Raises LoadError with the line's message: the field count is checked before any value.
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
        for (double& v : values_) {
            if (!cursor.More()) {
                break;
            }
            ++count;
            ok = cursor.Next(v) && ok;
        }
        if (count + cursor.CountRest() != values_.size() + 2) {
            RaiseFieldCount(FirstField(line));
        }
        if (!ok) {
            RaiseLine(FirstField(line));
        }
        try {
            Apply(n, stamp);
        } catch (const LoadError&) {
            RaiseLine(FirstField(line));
        }
    }

  private:
    void Apply(std::int64_t n, std::int64_t stamp) {
        constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
        if (n < lo || n > hi || stamp < lo || stamp > hi) {
            throw LoadError("number");
        }
        const std::int32_t t = timeBase_.GetRateTime(stamp, n);
        const double x = t / 1000.0;
        data_.timeUs.push_back(t);
        data_.xMs.push_back(x);
        const std::size_t a = cfg_.a;
        for (std::size_t i = 0; i < a; ++i) {
            data_.analog[i].AppendRaw(values_[i]);
        }
        for (std::size_t i = 0; i < cfg_.D; ++i) {
            // An unchanged state adds nothing: it costs no call.
            const double state = values_[a + i];
            if (data_.discrete[i].hasStrip && state != lastState_[i]) {
                DiscreteAddPoint(data_.discrete[i], x, state);
                lastState_[i] = state;
            }
        }
    }

    const TCfgFile& cfg_;
    TimeBase& timeBase_;
    RecordData& data_;
    std::vector<double> values_;
    std::vector<double> lastState_;  // per discrete channel; not a number before the first
};

void ReserveColumns(RecordData& data, std::size_t samples) {
    data.timeUs.reserve(samples);
    data.xMs.reserve(samples);
    for (AnalogColumns& ch : data.analog) {
        ch.Reserve(samples);
    }
}

}  // namespace

void InitRecordData(const TCfgFile& cfg, RecordData& data) {
    data = RecordData{};
    data.analog.resize(cfg.a);
    for (std::size_t i = 0; i < cfg.a; ++i) {
        data.analog[i].SetRawScale(RawScaleOf(cfg.AnalogChenel[i]));
    }
    data.discrete.resize(cfg.D);
    for (std::size_t i = 0; i < cfg.D; ++i) {
        data.discrete[i].hasStrip = DiscreteHasStrip(cfg.DigitalChanal[i]);
    }
}

void ReadSamples(const QString& datPath, const TCfgFile& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget) {
    FileKind kind = FileKind::Missing;
    const int fd = OpenRegularFile(datPath, kind);
    if (fd < 0) {
        RaiseUnopenable(datPath, kind);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw LoadError("Не удалось открыть файл данных " + datPath.toStdString() + ": " +
                        file.errorString().toStdString());
    }
    ReadSamples(file, cfg, timeBase, data, pump, memoryBudget);
}

void ReadSamples(QIODevice& device, const TCfgFile& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget) {
    const std::size_t expected = std::size_t{cfg.a} + cfg.D + 2;
    // No sane line is longer than this; a longer one is not a sample line.
    const std::size_t maxLine = std::max<std::size_t>(kBlockBytes, expected * 1024);
    LineSource source(device, maxLine);
    // Every field holds at least one character and a separator, so the file's size bounds the
    // number of lines whatever endsamp claims.
    const auto fileBound =
        static_cast<std::size_t>(std::max<qint64>(device.size(), 0)) / (2 * expected) + 1;
    const auto fileBytes = static_cast<std::uint64_t>(std::max<qint64>(device.size(), 0));
    MemoryBudget budget(cfg, fileBytes, memoryBudget);
    ReserveColumns(data, budget.ReservableSamples(fileBound));

    LineConverter converter(cfg, timeBase, data);
    std::string_view line;
    for (std::uint32_t i = 0; i < cfg.endsamp; ++i) {
        if (!source.Next(line)) {
            line = {};
        }
        budget.Count(line.size() + 1);
        converter.Convert(line);
        pump.Tick(static_cast<std::int64_t>(i) + 1);
    }
}

}  // namespace faultscope
