#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "cli/cli.h"

#ifdef FAULTSCOPE_WITH_EXPORT
#include <QApplication>

#include "cli/export_command.h"
#endif

#ifdef FAULTSCOPE_WITH_EXPORT
namespace {

// The offscreen platform warns that it cannot pass window size hints on; no window is ever
// shown by the export, so that warning only bothers the user.
QtMessageHandler standardHandler = nullptr;

void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains("propagateSizeHints") && standardHandler != nullptr) {
        standardHandler(type, context, message);
    }
}

}  // namespace
#endif

int main(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> app;
#ifdef FAULTSCOPE_WITH_EXPORT
    // Export draws the record's charts; the offscreen platform needs no display.
    const bool exporting = argc > 1 && std::string(argv[1]) == "export";
    if (exporting) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        standardHandler = qInstallMessageHandler(QuietOffscreen);
        app = std::make_unique<QApplication>(argc, argv);
    }
#endif
    if (app == nullptr) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName("Faultscope");
    // The arguments as the system gives them: a file name need not be valid text.
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
#ifdef FAULTSCOPE_WITH_EXPORT
    if (exporting) {
        return faultscope::cli::RunExport(args, std::cout, std::cerr);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        const int status = faultscope::cli::Run(args, std::cout, std::cerr);
        std::cout << faultscope::cli::kExportUsage;
        return status;
    }
    if (args.empty()) {
        const int status = faultscope::cli::Run(args, std::cout, std::cerr);
        std::cerr << faultscope::cli::kExportUsage;
        return status;
    }
#endif
    return faultscope::cli::Run(args, std::cout, std::cerr);
}
