#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <optional>

namespace faultscope::test {

// What the PDF tools of the system read from a PDF file; nullopt when the tool is missing or
// fails.
inline std::optional<QString> RunTool(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline bool HavePdfTools() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

inline int PdfPageCount(const QString& file) {
    const std::optional<QString> info = RunTool("pdfinfo", {file});
    if (!info) {
        return -1;
    }
    for (const QString& line : info->split('\n')) {
        if (line.startsWith("Pages:")) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

// The text of one page (numbered from 1).
inline QString PdfPageText(const QString& file, int page) {
    const QString number = QString::number(page);
    return RunTool("pdftotext", {"-f", number, "-l", number, "-layout", file, "-"})
        .value_or(QString());
}

}  // namespace faultscope::test
