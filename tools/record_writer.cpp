#include "record_writer.h"

#include <QFile>
#include <QStringEncoder>
#include <charconv>

namespace faultscope::tools {
namespace {

QByteArray ConfigText(const RecordSpec& s) {
    std::string t = s.station + "," + s.device + ",1999\r\n";
    t += std::to_string(s.analog.size() + s.digital.size()) + "," +
         std::to_string(s.analog.size()) + "A," + std::to_string(s.digital.size()) + "D\r\n";
    int n = 1;
    for (const AnalogSpec& a : s.analog) {
        char scale[64];
        std::snprintf(scale, sizeof scale, "%.9g,%.9g", a.a, a.b);
        t += std::to_string(n++) + "," + a.id + "," + a.ph + "," + a.ccbm + "," + a.unit + "," +
             scale + ",0," + std::to_string(a.min) + "," + std::to_string(a.max) + ",1,1,P\r\n";
    }
    n = 1;
    for (const DigitalSpec& d : s.digital) {
        t += std::to_string(n++) + "," + d.id + "," + d.ph + "," + d.ccbm + "," +
             std::to_string(d.normal) + "\r\n";
    }
    char rate[64];
    std::snprintf(rate, sizeof rate, "%g\r\n1\r\n%g,%u\r\n", s.lineFrequency, s.rate, s.samples);
    t += rate + s.firstTime + "\r\n" + s.triggerTime + "\r\nASCII\r\n1\r\n";
    const QString text = QString::fromStdString(t);
    if (s.utf8) {
        return text.toUtf8();
    }
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

void AppendInt(std::string& out, long long v) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, end);
}

bool WriteData(const QString& path, const RecordSpec& s, const SampleSource& source) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    std::vector<int> raw(s.analog.size());
    std::vector<int> states(s.digital.size());
    std::string chunk;
    const double stepUs = 1e6 / s.rate;
    for (std::uint32_t i = 0; i < s.samples; ++i) {
        source(i, raw, states);
        AppendInt(chunk, i + 1);
        chunk += ',';
        AppendInt(chunk, static_cast<long long>(i * stepUs + 0.5));
        for (const int v : raw) {
            chunk += ',';
            AppendInt(chunk, v);
        }
        for (const int v : states) {
            chunk += ',';
            AppendInt(chunk, v);
        }
        chunk += "\r\n";
        if (chunk.size() > (1U << 20)) {
            file.write(chunk.data(), static_cast<qint64>(chunk.size()));
            chunk.clear();
        }
    }
    file.write(chunk.data(), static_cast<qint64>(chunk.size()));
    return file.error() == QFileDevice::NoError;
}

}  // namespace

bool WriteRecord(const QString& base, const RecordSpec& spec, const SampleSource& source) {
    QFile cfg(base + ".cfg");
    if (!cfg.open(QIODevice::WriteOnly) || cfg.write(ConfigText(spec)) < 0) {
        return false;
    }
    return WriteData(base + ".dat", spec, source);
}

}  // namespace faultscope::tools
