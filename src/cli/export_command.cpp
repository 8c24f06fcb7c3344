#include "cli/export_command.h"

#include <QString>
#include <charconv>
#include <optional>
#include <stdexcept>

#include "core/record/load_error.h"
#include "gui/print/print_source.h"
#include "gui/print/record_export.h"

namespace faultscope::cli {

const char* const kExportUsage =
    "  faultscope-cli export RECORD [--pdf FILE [--caption] [--width MM --height MM]]\n"
    "                 [--png FILE [--size WxH]] [--encoding windows|cp866]\n"
    "export     lays the record out as the print dialog does, at full zoom, into a PDF (A4,\n"
    "           10 mm margins, unless --width and --height give the page) and/or draws it\n"
    "           as one PNG picture (the on-screen size unless --size gives it).\n";

namespace {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ExportArguments {
    std::string record;
    std::string pdf;
    std::string png;
    PdfExportOptions options;
    std::optional<double> width;
    std::optional<double> height;
    QSize size;
    TextEncoding encoding = TextEncoding::Windows;
};

double Positive(const std::string& text, const char* what) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0.0) || value > 5000.0) {
        throw UsageError(std::string(what) + " must be a positive number: " + text);
    }
    return value;
}

QSize ParseSize(const std::string& text) {
    const QStringList parts = QString::fromStdString(text).toLower().split('x');
    bool okW = false;
    bool okH = false;
    const int w = parts.size() == 2 ? parts[0].toInt(&okW) : 0;
    const int h = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
    if (!okW || !okH || w <= 0 || h <= 0 || w > 20000 || h > 20000) {
        throw UsageError("--size must be WIDTHxHEIGHT in pixels: " + text);
    }
    return {w, h};
}

void ParseOption(const std::vector<std::string>& args, std::size_t& i, ExportArguments& a) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--caption") {
        a.options.caption = true;
    } else if (arg == "--pdf" && hasValue) {
        a.pdf = args[++i];
    } else if (arg == "--png" && hasValue) {
        a.png = args[++i];
    } else if (arg == "--width" && hasValue) {
        a.width = Positive(args[++i], "--width");
    } else if (arg == "--height" && hasValue) {
        a.height = Positive(args[++i], "--height");
    } else if (arg == "--size" && hasValue) {
        a.size = ParseSize(args[++i]);
    } else if (arg == "--encoding" && hasValue) {
        const QString name = QString::fromStdString(args[++i]).toLower();
        if (name != "windows" && name != "cp866") {
            throw UsageError("unknown encoding: " + args[i]);
        }
        a.encoding = name == "cp866" ? TextEncoding::Cp866 : TextEncoding::Windows;
    } else if (arg.starts_with("--") || !a.record.empty()) {
        throw UsageError("unexpected argument: " + arg);
    } else {
        a.record = arg;
    }
}

ExportArguments ParseExportArguments(const std::vector<std::string>& args) {
    ExportArguments a;
    for (std::size_t i = 1; i < args.size(); ++i) {
        ParseOption(args, i, a);
    }
    if (a.record.empty()) {
        throw UsageError("no record given");
    }
    if (a.pdf.empty() && a.png.empty()) {
        throw UsageError("export needs --pdf FILE or --png FILE");
    }
    if (a.width.has_value() != a.height.has_value()) {
        throw UsageError("--width and --height go together");
    }
    if (a.width) {
        a.options.pageMm = QSizeF(*a.width, *a.height);
    }
    return a;
}

bool WritePng(const PrintSource& source, const ExportArguments& a, std::ostream& out,
              std::ostream& err) {
    QString error;
    const QSize written = ExportPng(source, QString::fromStdString(a.png), a.size, error);
    if (written.isEmpty()) {
        err << error.toStdString() << '\n';
        return false;
    }
    out << "png: " << a.png << " " << written.width() << "x" << written.height() << '\n';
    return true;
}

}  // namespace

int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ExportArguments a;
    try {
        a = ParseExportArguments(args);
    } catch (const UsageError& e) {
        err << "faultscope-cli: " << e.what() << "\nUsage:\n" << kExportUsage;
        return 2;
    }
    OffscreenRecord record;
    try {
        record.Load(QString::fromStdString(a.record), a.encoding);
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
    for (const QString& message : record.Messages()) {
        err << message.toStdString() << '\n';
    }
    const PrintSource source = PrintSourceOf(record.Document());
    bool ok = true;
    if (!a.pdf.empty()) {
        QString error;
        const int pages = ExportPdf(source, QString::fromStdString(a.pdf), a.options, error);
        if (pages == 0) {
            err << error.toStdString() << '\n';
            ok = false;
        } else {
            out << "pdf: " << a.pdf << " " << pages << " pages\n";
        }
    }
    if (!a.png.empty()) {
        ok = WritePng(source, a, out, err) && ok;
    }
    return ok ? 0 : 1;
}

}  // namespace faultscope::cli
