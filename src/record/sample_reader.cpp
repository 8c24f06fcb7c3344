#include "record/sample_reader.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "record/channel_data.h"
#include "record/load_error.h"
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
    LineSource(const QString& path, std::size_t maxLineBytes) : file_(path), max_(maxLineBytes) {
        if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            throw LoadError("Не удалось открыть файл данных " + path.toStdString() + ": " +
                            file_.errorString().toStdString());
        }
        buffer_.resize(kBlockBytes);
    }

    [[nodiscard]] qint64 Size() const { return file_.size(); }

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
        const char* stop = buffer_.data() + end_;
        const char* p = start;
        while (p < stop && *p != '\n' && *p != '\r') {
            ++p;
        }
        if (p == stop) {
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
            file_.read(buffer_.data() + end_, static_cast<qint64>(buffer_.size() - end_));
        if (got < 0) {
            throw LoadError("Ошибка чтения файла данных: " + file_.errorString().toStdString());
        }
        end_ += static_cast<std::size_t>(got);
        eof_ = got == 0;
    }

    QFile file_;
    std::size_t max_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipLf_ = false;
};

// Splits at every ","; gives up once there are more fields than `expected`.
std::size_t SplitFields(std::string_view line, std::vector<std::string_view>& fields,
                        std::size_t expected) {
    fields.clear();
    if (line.empty()) {
        return 0;
    }
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (count < expected) {
            fields.push_back(line.substr(start, comma - start));
        }
        ++count;
        if (comma == std::string_view::npos || count > expected) {
            break;
        }
        start = comma + 1;
    }
    return count;
}

struct LineConverter {
    const TCfgFile& cfg;
    TimeBase& timeBase;
    RecordData& data;

    // Raises LoadError with whatever text; the caller replaces it with the line's message.
    void Convert(const std::vector<std::string_view>& fields) const {
        std::int64_t n = 0;
        std::int64_t stamp = 0;
        constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
        if (!ParseInt64(fields[0], n) || !ParseInt64(fields[1], stamp) || n < lo || n > hi ||
            stamp < lo || stamp > hi) {
            throw LoadError("number");
        }
        const std::int32_t t = timeBase.GetRateTime(stamp, n);
        const double x = t / 1000.0;
        data.timeUs.push_back(t);
        data.xMs.push_back(x);
        const std::size_t a = cfg.a;
        for (std::size_t i = 0; i < a; ++i) {
            double v = 0;
            if (!ParseDouble(fields[i + 2], v)) {
                throw LoadError("number");
            }
            AnalogAddPoint(data.analog[i], cfg.AnalogChenel[i], v);
        }
        for (std::size_t i = 0; i < cfg.D; ++i) {
            double v = 0;
            if (!ParseDouble(fields[a + 2 + i], v)) {
                throw LoadError("number");
            }
            if (data.discrete[i].hasStrip) {
                DiscreteAddPoint(data.discrete[i], x, v);
            }
        }
    }
};

void ReserveColumns(RecordData& data, std::size_t samples) {
    data.timeUs.reserve(samples);
    data.xMs.reserve(samples);
    for (AnalogColumns& ch : data.analog) {
        ch.value.reserve(samples);
        ch.gap.reserve(samples);
    }
}

}  // namespace

void InitRecordData(const TCfgFile& cfg, RecordData& data) {
    data = RecordData{};
    data.analog.resize(cfg.a);
    data.discrete.resize(cfg.D);
    for (std::size_t i = 0; i < cfg.D; ++i) {
        data.discrete[i].hasStrip = DiscreteHasStrip(cfg.DigitalChanal[i]);
    }
}

void ReadSamples(const QString& datPath, const TCfgFile& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump) {
    const std::size_t expected = std::size_t{cfg.a} + cfg.D + 2;
    // No sane line is longer than this; a longer one is not a sample line.
    const std::size_t maxLine = std::max<std::size_t>(kBlockBytes, expected * 1024);
    LineSource source(datPath, maxLine);
    // Every field holds at least one character and a separator, so the file's size bounds the
    // number of lines whatever endsamp claims.
    const auto fileBound = static_cast<std::size_t>(source.Size()) / (2 * expected) + 1;
    ReserveColumns(data, std::min<std::size_t>(cfg.endsamp, fileBound));

    std::vector<std::string_view> fields;
    fields.reserve(expected);
    const LineConverter converter{cfg, timeBase, data};
    std::string_view line;
    for (std::uint32_t i = 0; i < cfg.endsamp; ++i) {
        if (!source.Next(line)) {
            line = {};
        }
        if (SplitFields(line, fields, expected) != expected) {
            RaiseFieldCount(fields.empty() ? std::string_view{} : fields[0]);
        }
        try {
            converter.Convert(fields);
        } catch (const LoadError&) {
            RaiseLine(fields[0]);
        }
        pump.Tick(static_cast<std::int64_t>(i) + 1);
    }
}

}  // namespace faultscope
