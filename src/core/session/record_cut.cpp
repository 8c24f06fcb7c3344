#include "core/session/record_cut.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/record/date_time.h"
#include "core/record/load_error.h"
#include "core/record/native_file.h"
#include "core/record/number_text.h"
#include "core/record/sample_chunk.h"
#include "core/record/state_events.h"

namespace faultscope {
namespace {

// A configuration file is small; one past this is not the file the record was read from.
constexpr std::size_t kMaxConfigBytes = 64U << 20U;
// Computed channels are written as 16-bit numbers; a sample outside a channel's range is 99999.
constexpr double kExtraRawMax = 32767.0;
constexpr char kMissingRaw[] = "99999";
// The written text goes to the file in pieces of about this size.
constexpr std::size_t kFlushBytes = 1U << 20U;

QString Milliseconds(double ms) {
    QString text = QString::number(ms, 'f', 3);
    while (text.endsWith('0')) {
        text.chop(1);
    }
    if (text.endsWith('.')) {
        text.chop(1);
    }
    return text == "-0" ? QStringLiteral("0") : text;
}

// The date-time as a configuration file writes it: "dd/mm/yyyy,hh:mm:ss.ssssss".
QByteArray ConfigDateTime(std::int64_t us) {
    const DateTime t = DateTime::FromMicroseconds(us);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d,%02d:%02d:%02d.%03d%03d", t.day, t.month, t.year,
                  t.hour, t.minute, t.second, t.millisecond, t.microsecond);
    return buf;
}

// The file's lines as bytes, without their breaks (CR LF, LF or CR).
QList<QByteArray> SplitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end) {
        const char* brk = FindLineBreak(p, end);
        if (brk == nullptr) {
            lines.append(QByteArray(p, end - p));
            break;
        }
        lines.append(QByteArray(p, brk - p));
        p = PastLineBreak(brk, end);
    }
    return lines;
}

[[noreturn]] void RaiseChanged(const QString& path) {
    throw CutError(QStringLiteral("Файл %1 изменился после открытия осциллограммы.")
                       .arg(QFileInfo(path).fileName())
                       .toStdString());
}

// Opens a temporary file beside `path` that replaces it on Commit.
class WholeFile {
  public:
    explicit WholeFile(const QString& path) : file_(path) {
        if (QFileInfo(path).isDir() || !file_.open(QIODevice::WriteOnly)) {
            Fail();
        }
    }
    void Write(std::string_view bytes) {
        if (file_.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
            Fail();
        }
    }
    void Commit() {
        if (!file_.commit()) {
            Fail();
        }
    }

  private:
    [[noreturn]] void Fail() {
        const QString error = file_.errorString();
        file_.cancelWriting();
        throw CutError(QStringLiteral("Не удалось записать файл %1: %2")
                           .arg(file_.fileName(), error)
                           .toStdString());
    }

    QSaveFile file_;
};

// The scale that puts a computed channel's values of `range` into 16-bit numbers.
double ExtraScale(const AnalogColumns& columns, SampleRange range) {
    double largest = 0.0;
    for (std::size_t i = range.first; i <= range.last && i < columns.size(); ++i) {
        const double v = columns.Value(i);
        if (!columns.Gap(i) && std::isfinite(v)) {
            largest = std::max(largest, std::fabs(v));
        }
    }
    return largest > 0.0 ? largest / kExtraRawMax : 1.0;
}

std::string ConfigField(const std::string& text) {
    std::string field = text;
    std::replace(field.begin(), field.end(), ',', ';');
    return field;
}

QByteArray ExtraConfigLine(std::size_t number, const AnalogChannel& info, double scale,
                           const QByteArray& fileBytes, TextEncoding encoding) {
    const std::string line = std::to_string(number) + ',' + ConfigField(info.ch_id) + ',' +
                             ConfigField(info.ph) + ',' + ConfigField(info.ccbm) + ',' +
                             ConfigField(info.uu) + ',' + ShortestNumber(scale) +
                             ",0,0,-32767,32767,1,1,P";
    return EncodeConfigLine(line, fileBytes, encoding);
}

struct ExtraColumn {
    const AnalogColumns* columns;
    double scale;
};

QByteArray CutConfig(const LoadedRecord& record, SampleRange range, TextEncoding encoding,
                     std::span<const ExtraChannel> extra, std::span<const ExtraColumn> scaled) {
    QByteArray bytes;
    FileKind kind = FileKind::Regular;
    if (!ReadSmallRegularFile(record.files.cfgPath, kMaxConfigBytes, bytes, kind)) {
        RaiseUnopenable(record.files.cfgPath, kind);
    }
    QList<QByteArray> lines = SplitLines(bytes);
    const RecordConfig& cfg = record.cfg;
    const std::size_t analog = cfg.analog.size();
    const std::size_t channelsEnd = 2 + analog + cfg.digital.size();
    const std::size_t rate = channelsEnd + 2;
    const std::size_t trigger = rate + 2;
    if (static_cast<std::size_t>(lines.size()) <= trigger) {
        RaiseChanged(record.files.cfgPath);
    }
    QByteArray& rateLine = lines[static_cast<qsizetype>(rate)];
    rateLine = rateLine.left(rateLine.lastIndexOf(',') + 1) + QByteArray::number(range.Count());
    const std::int64_t startUs =
        record.timeBase.AbsoluteMicroseconds(record.data.timeUs[range.first]);
    const std::int64_t endUs = record.timeBase.AbsoluteMicroseconds(record.data.timeUs[range.last]);
    const std::int64_t triggerUs = cfg.dt_Trigger.ToMicroseconds();
    lines[static_cast<qsizetype>(rate + 1)] = ConfigDateTime(startUs);
    if (triggerUs < startUs || triggerUs > endUs) {
        lines[static_cast<qsizetype>(trigger)] = ConfigDateTime(startUs);
    }
    if (!extra.empty()) {
        const std::size_t n = extra.size();
        lines[1] = QByteArray::number(analog + n + cfg.digital.size()) + ',' +
                   QByteArray::number(analog + n) + "A," + QByteArray::number(cfg.digital.size()) +
                   'D';
        for (std::size_t k = 0; k < n; ++k) {
            lines.insert(
                static_cast<qsizetype>(2 + analog + k),
                ExtraConfigLine(analog + k + 1, *extra[k].info, scaled[k].scale, bytes, encoding));
        }
    }
    return lines.join("\r\n") + "\r\n";
}

// The file's bytes, mapped where the system lets it.
class MappedFile {
  public:
    explicit MappedFile(const QString& path) {
        FileKind kind = FileKind::Regular;
        const int fd = OpenRegularFile(path, kind);
        if (fd < 0) {
            RaiseUnopenable(path, kind);
        }
        if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            RaiseUnopenable(path, FileKind::Unreadable);
        }
        const qint64 size = file_.size();
        if (size > 0) {
            if (uchar* map = file_.map(0, size); map != nullptr) {
                text_ = std::string_view(reinterpret_cast<const char*>(map),
                                         static_cast<std::size_t>(size));
                return;
            }
            copy_ = file_.readAll();
            text_ = std::string_view(copy_.constData(), static_cast<std::size_t>(copy_.size()));
        }
    }
    [[nodiscard]] std::string_view Text() const noexcept { return text_; }

  private:
    QFile file_;
    QByteArray copy_;
    std::string_view text_;
};

// Where the field after the `n`th comma from `p` starts, or nullptr when there are fewer.
const char* AfterFields(const char* p, const char* end, std::size_t n) {
    for (; n > 0; --n) {
        p = static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(end - p)));
        if (p == nullptr) {
            return nullptr;
        }
        ++p;
    }
    return p;
}

std::string ExtraRaw(const ExtraColumn& extra, std::size_t i) {
    if (i >= extra.columns->size() || extra.columns->Gap(i)) {
        return kMissingRaw;
    }
    const double raw = std::round(extra.columns->Value(i) / extra.scale);
    return std::isfinite(raw) ? std::to_string(static_cast<long long>(raw)) : kMissingRaw;
}

void AppendNumber(std::string& out, std::int64_t n) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, end);
}

// Appends kept line `k` (sample `sample` of the record), renumbered, its time stamp counted from
// `firstStamp`.
void AppendLine(std::string& out, std::string_view line, std::size_t k, std::size_t sample,
                std::optional<std::int64_t>& firstStamp, std::size_t analog,
                std::span<const ExtraColumn> extra, const QString& path) {
    const char* begin = line.data();
    const char* end = begin + line.size();
    const char* stamp = AfterFields(begin, end, 1);
    const char* values = stamp == nullptr ? nullptr : AfterFields(stamp, end, 1);
    if (values == nullptr) {
        RaiseChanged(path);
    }
    AppendNumber(out, static_cast<std::int64_t>(k + 1));
    out += ',';
    std::int64_t ts = 0;
    const auto [stop, ec] = std::from_chars(stamp, values - 1, ts);
    if (ec == std::errc() && stop == values - 1) {
        if (!firstStamp) {
            firstStamp = ts;
        }
        AppendNumber(out, ts - *firstStamp);
    } else {
        out.append(stamp, values - 1);
    }
    out += ',';
    if (extra.empty()) {
        out.append(values, end);
    } else {
        const char* digital = analog == 0 ? values : AfterFields(values, end, analog);
        if (analog > 0) {
            out.append(values, digital != nullptr ? digital - 1 : end);
            out += ',';
        }
        for (std::size_t e = 0; e < extra.size(); ++e) {
            if (e > 0) {
                out += ',';
            }
            out += ExtraRaw(extra[e], sample);
        }
        if (digital != nullptr && digital < end) {
            out += ',';
            out.append(digital, end);
        }
    }
    out += "\r\n";
}

void WriteCutSamples(const LoadedRecord& record, SampleRange range, const QString& datPath,
                     std::span<const ExtraColumn> extra) {
    const MappedFile source(record.files.datPath);
    const std::string_view text = source.Text();
    const char* p = text.data();
    const char* end = p + text.size();
    for (std::size_t i = 0; i < range.first; ++i) {
        const char* brk = p < end ? FindLineBreak(p, end) : nullptr;
        if (brk == nullptr) {
            RaiseChanged(record.files.datPath);
        }
        p = PastLineBreak(brk, end);
    }
    WholeFile file(datPath);
    std::string out;
    out.reserve(kFlushBytes + 4096);
    std::optional<std::int64_t> firstStamp;
    for (std::size_t k = 0; k < range.Count(); ++k) {
        if (p >= end) {
            RaiseChanged(record.files.datPath);
        }
        const char* brk = FindLineBreak(p, end);
        const char* lineEnd = brk != nullptr ? brk : end;
        AppendLine(out, std::string_view(p, static_cast<std::size_t>(lineEnd - p)), k,
                   range.first + k, firstStamp, record.cfg.analog.size(), extra,
                   record.files.datPath);
        p = brk != nullptr ? PastLineBreak(brk, end) : end;
        if (out.size() >= kFlushBytes) {
            file.Write(out);
            out.clear();
        }
    }
    file.Write(out);
    file.Commit();
}

// A discrete channel's state sample by sample, walking its changes forwards: the samples asked
// for never go back.
class StateWalker {
  public:
    explicit StateWalker(const DiscreteColumns& column) : column_(column) {}
    bool At(std::size_t sample) {
        while (next_ < column_.changeSamples.size() && column_.changeSamples[next_] <= sample) {
            state_ = column_.state[2 * next_ + 1] != 0.0;
            ++next_;
        }
        return state_;
    }

  private:
    const DiscreteColumns& column_;
    std::size_t next_ = 0;
    bool state_ = false;
};

}  // namespace

SampleRange SamplesWithin(const RecordData& data, double fromMs, double toMs) {
    if (!(fromMs <= toMs)) {
        throw CutError("Начало интервала должно быть не позже его конца.");
    }
    const std::vector<double>& x = data.xMs;
    if (x.empty()) {
        throw CutError("В осциллограмме нет отсчётов.");
    }
    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    if (toMs < *lo || fromMs > *hi) {
        throw CutError(
            QStringLiteral("Интервал %1 … %2 мс лежит вне осциллограммы (%3 … %4 мс).")
                .arg(Milliseconds(fromMs), Milliseconds(toMs), Milliseconds(*lo), Milliseconds(*hi))
                .toStdString());
    }
    std::optional<std::size_t> first;
    std::size_t last = 0;
    if (data.timeAscending) {
        const auto from = std::lower_bound(x.begin(), x.end(), fromMs);
        const auto to = std::upper_bound(x.begin(), x.end(), toMs);
        if (from < to) {
            first = static_cast<std::size_t>(from - x.begin());
            last = static_cast<std::size_t>(to - x.begin()) - 1;
        }
    } else {
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i] >= fromMs && x[i] <= toMs) {
                first = first.value_or(i);
                last = i;
            }
        }
    }
    if (!first) {
        throw CutError(QStringLiteral("В интервале %1 … %2 мс нет ни одного отсчёта.")
                           .arg(Milliseconds(fromMs), Milliseconds(toMs))
                           .toStdString());
    }
    return {*first, last};
}

void WriteRecordCut(const LoadedRecord& record, SampleRange range, const QString& basePath,
                    TextEncoding encoding, std::span<const ExtraChannel> extra) {
    if (range.last < range.first || range.last >= record.data.SampleCount()) {
        throw CutError("В интервале нет ни одного отсчёта.");
    }
    std::vector<ExtraColumn> scaled;
    for (const ExtraChannel& channel : extra) {
        scaled.push_back({channel.columns, ExtraScale(*channel.columns, range)});
    }
    try {
        const QByteArray config = CutConfig(record, range, encoding, extra, scaled);
        // The samples first: a configuration is never left without its samples.
        WriteCutSamples(record, range, basePath + ".dat", scaled);
        WholeFile file(basePath + ".cfg");
        file.Write(std::string_view(config.constData(), static_cast<std::size_t>(config.size())));
        file.Commit();
    } catch (const LoadError& e) {
        throw CutError(e.what());
    }
}

void WriteCutCsv(const LoadedRecord& record, SampleRange range, const CutColumns& columns,
                 const QString& path) {
    const RecordData& data = record.data;
    if (range.last < range.first || range.last >= data.SampleCount()) {
        throw CutError("В интервале нет ни одного отсчёта.");
    }
    std::string out = "time_ms";
    for (const std::size_t c : columns.analog) {
        out += ',' + CsvField(record.cfg.analog[c].ch_id);
    }
    for (const ExtraChannel& e : columns.extra) {
        out += ',' + CsvField(e.info->ch_id);
    }
    for (const std::size_t c : columns.digital) {
        out += ',' + CsvField(record.cfg.digital[c].ch_id);
    }
    out += '\n';
    std::vector<StateWalker> states;
    for (const std::size_t c : columns.digital) {
        states.emplace_back(data.discrete[c]);
    }
    const auto value = [&out](const AnalogColumns& col, std::size_t i) {
        out += ',';
        if (i < col.size() && !col.Gap(i)) {
            out += Fixed6(col.Value(i));
        }
    };
    WholeFile file(path);
    for (std::size_t i = range.first; i <= range.last; ++i) {
        out += Fixed6(data.xMs[i]);
        for (const std::size_t c : columns.analog) {
            value(data.analog[c], i);
        }
        for (const ExtraChannel& e : columns.extra) {
            value(*e.columns, i);
        }
        for (StateWalker& s : states) {
            out += s.At(i) ? ",1" : ",0";
        }
        out += '\n';
        if (out.size() >= kFlushBytes) {
            file.Write(out);
            out.clear();
        }
    }
    file.Write(out);
    file.Commit();
}

QString CutBaseName(const QString& recordFileName, double fromMs, double toMs) {
    return QFileInfo(recordFileName).fileName() + '_' + Milliseconds(fromMs) + '_' +
           Milliseconds(toMs);
}

}  // namespace faultscope
