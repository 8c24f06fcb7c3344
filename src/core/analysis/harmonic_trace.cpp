#include "core/analysis/harmonic_trace.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QStringEncoder>
#include <charconv>
#include <cstdio>
#include <string>

#include "core/record/native_file.h"

namespace faultscope {
namespace {

// How long a load waits for another one writing the same trace, and the age after which a lock
// left by a program that died is taken over.
constexpr int kLockWaitMs = 10000;
constexpr int kStaleLockMs = 60000;

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

std::string FileWarning(const char* what, const QString& path) {
    return std::string(what) + " «" + QDir::toNativeSeparators(path).toStdString() + "»";
}

// Whether the last byte of a non-empty file is a line break; only that byte is read.
bool EndsWithLineBreak(const QString& path, qint64 size) {
    QFile file(path);
    if (size <= 0 || !file.open(QIODevice::ReadOnly) || !file.seek(size - 1)) {
        return true;
    }
    char last = '\n';
    return !file.getChar(&last) || last == '\n';
}

// Moves a full trace file aside as "<name>.1", replacing an older one in the same step; never
// something that is not a regular file. Only a rename: a copy would leave two halves to lose
// when it fails midway.
bool Rotate(const QString& path) {
    const QString old = path + QStringLiteral(".1");
    const FileKind oldKind = ProbeFile(old);
    if (oldKind != FileKind::Regular && oldKind != FileKind::Missing) {
        return false;
    }
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(old).constData()) == 0;
}

// What goes before the new lines: a header for a new file, a line break after a file whose last
// line was left open, nothing otherwise.
QByteArray Lead(const QString& path, qint64 size) {
    if (size == 0) {
        return ToWindows1251(QStringLiteral("Номер точки;Re1;Im1\r\n"));
    }
    return EndsWithLineBreak(path, size) ? QByteArray() : QByteArray("\r\n");
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

std::optional<std::string> AppendHarmonicTrace(const QString& folder, std::string_view channelId,
                                               const HarmonicTraceColumns& trace,
                                               qint64 rotateBytes) {
    const QString path = HarmonicTracePath(folder, channelId);
    // Loads at the same time, in this copy of the program or another, take turns: each sees the
    // size the other left, so one rotation moves the history aside and the next keeps it.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) {
        return FileWarning("Не удалось записать файл трассировки гармоник", path);
    }
    std::optional<std::string> warning;
    if (ProbeFile(path) == FileKind::Regular && QFileInfo(path).size() >= rotateBytes &&
        !Rotate(path)) {
        // The lines still go on the end of the full file; the user hears why it keeps growing.
        warning = FileWarning("Не удалось сменить файл трассировки гармоник", path);
    }
    FileKind kind = FileKind::Missing;
    const int fd = OpenRegularFileForAppend(path, kind);
    QFile file;
    if (fd < 0 ||
        !file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return FileWarning("Не удалось записать файл трассировки гармоник", path);
    }
    const qint64 size = file.size();
    const QByteArray content = Lead(path, size) + TraceLines(trace);
    if (file.write(content) != content.size() || !file.flush()) {
        // A full disk leaves no half line behind.
        file.resize(size);
        return FileWarning("Не удалось записать файл трассировки гармоник", path);
    }
    return warning;
}

void FillChannelHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                          std::string_view channelId, const QString& traceFolder,
                          HarmonicColumns& out, ProgressPump* pump,
                          std::vector<std::string>* warnings, FundamentalColumns* fundamental,
                          std::span<const std::size_t> gapSamples) {
    if (traceFolder.isEmpty() || !IsTracedChannel(channelId)) {
        FillHarmonics(xMs, y, frequency, out, {channelId, pump, nullptr, fundamental, gapSamples});
        return;
    }
    HarmonicTraceColumns trace;
    FillHarmonics(xMs, y, frequency, out, {channelId, pump, &trace, fundamental, gapSamples});
    if (auto warning = AppendHarmonicTrace(traceFolder, channelId, trace);
        warning && warnings != nullptr) {
        warnings->push_back(std::move(*warning));
    }
}

}  // namespace faultscope
