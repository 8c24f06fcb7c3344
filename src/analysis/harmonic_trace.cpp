#include "analysis/harmonic_trace.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringEncoder>
#include <charconv>
#include <string>

#include "record/load_error.h"

namespace faultscope {
namespace {

QByteArray ToWindows1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

// "%.4f" with the given decimal separator; independent of the C library's locale.
void AppendFixed4(QByteArray& line, double value, const QByteArray& decimalPoint) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    for (const char* c = buffer; c != result.ptr; ++c) {
        if (*c == '.') {
            line += decimalPoint;
        } else {
            line += *c;
        }
    }
}

QByteArray TraceLines(const HarmonicTraceColumns& trace) {
    const QByteArray decimalPoint = ToWindows1251(QLocale::system().decimalPoint());
    QByteArray text;
    text.reserve(static_cast<qsizetype>(trace.windowEnd.size() * 28));
    for (std::size_t i = 0; i < trace.windowEnd.size(); ++i) {
        text += std::to_string(trace.windowEnd[i]);
        text += ';';
        AppendFixed4(text, trace.re1[i], decimalPoint);
        text += ';';
        AppendFixed4(text, trace.im1[i], decimalPoint);
        text += "\r\n";
    }
    return text;
}

[[noreturn]] void ThrowFileError(const char* what, const QString& path) {
    throw LoadError(std::string(what) + " «" + QDir::toNativeSeparators(path).toStdString() + "»");
}

// The file's present bytes, ending with a line break; a header line for a file not yet there.
QByteArray ExistingContent(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return ToWindows1251(QStringLiteral("Номер точки;Re1;Im1\r\n"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        ThrowFileError("Не удалось прочитать файл трассировки гармоник", path);
    }
    QByteArray content = file.readAll();
    if (!content.isEmpty() && !content.endsWith('\n')) {
        content += "\r\n";
    }
    return content;
}

}  // namespace

bool IsTracedChannel(std::string_view channelId) noexcept {
    return channelId == "Ia" || channelId == "Ib";
}

QString HarmonicTracePath(const QString& folder, std::string_view channelId) {
    const QString name =
        QString::fromUtf8(channelId.data(), static_cast<qsizetype>(channelId.size()));
    return QDir(folder).filePath(name + QStringLiteral(".csv"));
}

void AppendHarmonicTrace(const QString& folder, std::string_view channelId,
                         const HarmonicTraceColumns& trace) {
    const QString path = HarmonicTracePath(folder, channelId);
    const QByteArray content = ExistingContent(path) + TraceLines(trace);
    // The old lines are copied into a new file that replaces the old one only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        ThrowFileError("Не удалось записать файл трассировки гармоник", path);
    }
}

void FillChannelHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                          std::string_view channelId, const QString& traceFolder,
                          HarmonicColumns& out, ProgressPump* pump) {
    if (!IsTracedChannel(channelId)) {
        FillHarmonics(xMs, y, frequency, out, {channelId, pump, nullptr});
        return;
    }
    HarmonicTraceColumns trace;
    FillHarmonics(xMs, y, frequency, out, {channelId, pump, &trace});
    AppendHarmonicTrace(traceFolder, channelId, trace);
}

}  // namespace faultscope
