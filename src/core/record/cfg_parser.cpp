#include "core/record/cfg_parser.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/record/load_error.h"
#include "core/record/text_fields.h"

namespace faultscope {
namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUInt16Max = std::numeric_limits<std::uint16_t>::max();
constexpr std::int64_t kUInt32Max = std::numeric_limits<std::uint32_t>::max();

// A validation failure: the parser stops and reports it through LastError.
struct Failure {
    std::string text;
};

// No scaled value may exceed this: squares of the values, which the harmonic analysis sums,
// stay finite, and so does every result shown.
constexpr double kLargestScaledValue = 1e150;

class Lines {
  public:
    explicit Lines(const std::vector<std::string>& lines) : lines_(lines) {}

    std::string_view At(std::size_t i) const {
        if (i >= lines_.size()) {
            throw LoadError("Файл конфигурации обрывается: нет строки " + std::to_string(i + 1));
        }
        return lines_[i];
    }
    bool Has(std::size_t i) const noexcept { return i < lines_.size(); }

  private:
    const std::vector<std::string>& lines_;
};

void ParseStationLine(RecordConfig& cfg, std::string_view rest) {
    if (!Contains(rest, ",")) {
        cfg.station_name.clear();
        cfg.rec_dev_id = rest;
        cfg.rev_year = 0;
        return;
    }
    cfg.station_name = CutToken(rest, ',');
    if (!Contains(rest, ",")) {
        cfg.rec_dev_id = rest;
        cfg.rev_year = 0;
        return;
    }
    cfg.rec_dev_id = CutToken(rest, ',');
    const auto rev = static_cast<std::uint32_t>(ToInteger(rest, kInt32Min, kInt32Max));
    cfg.rev_year = static_cast<std::uint16_t>(rev & 0xFFFFU);
    if (cfg.rev_year != 1999) {
        throw Failure{"Потдерживается только стандарт COMTRADE 1999"};
    }
}

void ParseCountLine(RecordConfig& cfg, std::string_view rest) {
    cfg.TT = static_cast<std::uint32_t>(ToInteger(CutToken(rest, ','), 0, kUInt32Max));
    const std::string_view analog = CutToken(rest, ',');
    if (!Contains(analog, "A")) {
        throw Failure{"Не указано количество аналоговых каналов"};
    }
    cfg.a =
        static_cast<std::uint16_t>(ToInteger(analog.substr(0, analog.find('A')), 0, kUInt16Max));
    if (!Contains(rest, "D")) {
        throw Failure{"Не указано количество дискретных каналов"};
    }
    cfg.D = static_cast<std::uint16_t>(ToInteger(rest.substr(0, rest.find('D')), 0, kUInt16Max));
    if (static_cast<std::uint32_t>(cfg.a) + cfg.D != cfg.TT) {
        throw Failure{"Количество каналов не совпадает с суммой аналоговых и дискретных"};
    }
}

AnalogChannel ParseAnalogLine(std::string_view rest) {
    AnalogChannel ch;
    ch.An = static_cast<std::uint32_t>(ToInteger(CutToken(rest, ','), 0, kUInt32Max));
    ch.ch_id = CutToken(rest, ',');
    ch.ph = CutToken(rest, ',');
    ch.ccbm = CutToken(rest, ',');
    ch.uu = CutToken(rest, ',');
    ch.ReserveChannel = IsReserveChannelId(ch.ch_id);
    if (ch.uu.empty()) {
        throw Failure{"Не указаны еденицы измерения для аналогового канала"};
    }
    ch.a = ToDecimal(CutToken(rest, ','));
    ch.b = ToDecimal(CutToken(rest, ','));
    const std::string_view skew = CutToken(rest, ',');
    ch.skew = skew.empty() ? 0.0 : ToDecimal(skew);
    ch.min = static_cast<std::int32_t>(ToInteger(CutToken(rest, ','), kInt32Min, kInt32Max));
    if (!Contains(rest, ",")) {
        ch.max = static_cast<std::int32_t>(ToInteger(rest, kInt32Min, kInt32Max));
        return ch;
    }
    ch.max = static_cast<std::int32_t>(ToInteger(CutToken(rest, ','), kInt32Min, kInt32Max));
    ch.primary = ToDecimal(CutToken(rest, ','));
    ch.secondary = ToDecimal(CutToken(rest, ','));
    const std::string ps = AsciiLower(rest);
    if (Contains(ps, "p")) {
        ch.PS = TPS::P;
    } else if (Contains(ps, "s")) {
        ch.PS = TPS::S;
    } else {
        throw Failure{
            "Не указано какие значения (первичные/вторичные) приведены в аналоговом канале"};
    }
    return ch;
}

// The largest value the channel's scale can give inside its raw range, |a|·max(|min|,|max|)+|b|,
// must be a number within kLargestScaledValue.
void CheckScale(const AnalogChannel& ch) {
    const double raw =
        std::max(std::fabs(static_cast<double>(ch.min)), std::fabs(static_cast<double>(ch.max)));
    const double largest = std::fabs(ch.a) * raw + std::fabs(ch.b);
    if (!(largest <= kLargestScaledValue)) {
        throw Failure{"Масштаб аналогового канала " + ch.ch_id +
                      " недопустим: |a|·max(|min|,|max|)+|b| должно быть не больше 1e150"};
    }
}

DigitalChannel ParseDigitalLine(std::string_view rest) {
    DigitalChannel ch;
    ch.Dn = static_cast<std::uint32_t>(ToInteger(CutToken(rest, ','), 0, kUInt32Max));
    ch.ch_id = CutToken(rest, ',');
    ch.ph = CutToken(rest, ',');
    ch.ccbm = CutToken(rest, ',');
    ch.ReserveChannel = IsReserveChannelId(ch.ch_id);
    const std::string_view state = TrimBlanks(rest);
    if (state.empty()) {
        throw Failure{"Не указано состояние дискретного входа по умолчанию"};
    }
    ch.y = ToInteger(state, kInt32Min, kInt32Max) != 0;
    return ch;
}

void ParseRateLine(RecordConfig& cfg, std::string_view rest) {
    const std::string_view samp = CutToken(rest, ',');
    cfg.samp = samp.empty() ? -1.0 : ToDecimal(samp);
    if (TrimBlanks(rest).empty()) {
        throw LoadError("endsamp не задано");
    }
    cfg.endsamp = static_cast<std::uint32_t>(ToInteger(rest, 0, kUInt32Max));
}

DateTime ParseDateLine(std::string_view line) {
    std::string text(line);
    if (!Contains(text, "/")) {
        std::replace(text.begin(), text.end(), '.', '/');
    }
    if (!Contains(text, "/")) {
        throw LoadError("Неверный формат даты времени");
    }
    return CfgStrToDateTime(text);
}

// Everything after the channel lines, starting at line `l`.
void ParseTail(RecordConfig& cfg, const Lines& lines, std::size_t l) {
    const std::string_view freq = TrimBlanks(lines.At(l));
    cfg.freq = freq.empty() ? 50.0 : ToDecimal(freq);
    const std::string_view nrates = TrimBlanks(lines.At(l + 1));
    cfg.nrates = static_cast<std::uint16_t>(nrates.empty() ? 0 : ToInteger(nrates, 0, kUInt16Max));
    // Every rate line is read so that the lines after them are found; the last rate line's
    // sample number is the record's last sample.
    const std::size_t rateLines = std::max<std::size_t>(1, cfg.nrates);
    std::size_t next = l + 2;
    for (std::size_t i = 0; i < rateLines; ++i) {
        ParseRateLine(cfg, lines.At(next++));
    }
    cfg.dt_First = ParseDateLine(lines.At(next++));
    cfg.dt_Trigger = ParseDateLine(lines.At(next++));
    cfg.ft = QString::fromStdString(std::string(lines.At(next++))).toUpper().toStdString();
    if (cfg.ft != "ASCII") {
        throw Failure{"Потдерживается только файл данных в стандарте ASCII"};
    }
    cfg.timemult = lines.Has(next) ? ToDecimal(lines.At(next)) : 1.0;
}

}  // namespace

bool ParseCfgFile(RecordConfig& cfg, const std::vector<std::string>& text) {
    const Lines lines(text);
    cfg.LastError.clear();
    try {
        ParseStationLine(cfg, lines.At(0));
        ParseCountLine(cfg, lines.At(1));
        cfg.analog.clear();
        cfg.digital.clear();
        std::size_t line = 2;
        for (std::size_t i = 0; i < cfg.a; ++i) {
            cfg.analog.push_back(ParseAnalogLine(lines.At(line++)));
            CheckScale(cfg.analog.back());
        }
        for (std::size_t i = 0; i < cfg.D; ++i) {
            cfg.digital.push_back(ParseDigitalLine(lines.At(line++)));
        }
        ParseTail(cfg, lines, line);
    } catch (const Failure& failure) {
        cfg.LastError = failure.text;
        return false;
    }
    return true;
}

namespace {

int DateField(std::string_view text) {
    std::int64_t value = 0;
    if (!ParseInt64(text, value) || value < kInt32Min || value > kInt32Max) {
        throw LoadError("«" + std::string(text) + "» не является допустимой датой и временем");
    }
    return static_cast<int>(value);
}

}  // namespace

DateTime CfgStrToDateTime(std::string_view text) {
    const std::string whole(text);
    std::string_view rest = text;
    int day = DateField(CutToken(rest, '/'));
    int month = DateField(CutToken(rest, '/'));
    if (month > 12) {
        std::swap(day, month);
    }
    std::string year(CutToken(rest, ','));
    if (year.size() == 2) {
        year.insert(0, "20");
    }
    const int y = DateField(year);
    const int hour = DateField(CutToken(rest, ':'));
    const int minute = DateField(CutToken(rest, ':'));
    std::string_view seconds;
    if (Contains(rest, ".")) {
        seconds = CutToken(rest, '.');
    } else if (Contains(rest, ":")) {
        seconds = CutToken(rest, ':');
    } else {
        throw LoadError("Неверный формат даты времени:" + std::string(rest));
    }
    const int second = DateField(seconds);
    std::string_view fraction = TrimBlanks(rest);
    int us = 0;
    if (fraction.size() == 6) {
        us = DateField(fraction.substr(3));
        fraction = fraction.substr(0, 3);
    }
    const int ms = DateField(fraction);
    if (!DateTime::IsValid(y, month, day, hour, minute, second, ms) || us < 0) {
        throw LoadError("«" + whole + "» не является допустимой датой и временем");
    }
    return DateTime{y, month, day, hour, minute, second, ms, us};
}

bool IsReserveChannelId(std::string_view ch_id) noexcept {
    return !ch_id.empty() && ch_id.front() == '[' && ch_id.back() == ']';
}

}  // namespace faultscope
