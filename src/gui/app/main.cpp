#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/settings/app_settings.h"
#include "core/settings/settings_error.h"
#include "core/settings/settings_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/termination_signals.h"
#include "gui/app/translations.h"
#include "gui/widgets/message_boxes.h"

namespace {

constexpr char kHelp[] =
    "Usage: faultscope [RECORD ...]\n"
    "Opens the COMTRADE records named (a .cfg or .dat file of each pair), each in a window of\n"
    "its own, in the Faultscope window.\n"
    "  --help     prints this text\n"
    "  --version  prints the version\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window: they need no display.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("faultscope %s\n", FAULTSCOPE_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    QApplication::setApplicationVersion(FAULTSCOPE_VERSION);
    // The installed menu entry's name and icon, for the window manager and the task bar.
    QApplication::setDesktopFileName(QStringLiteral("org.faultscope.Faultscope"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("faultscope")));
    faultscope::InstallToolkitTranslation(&app);

    // The settings come first: every window restores its state from them.
    faultscope::AppSettings dm(faultscope::SettingsFilePath(), faultscope::SettingsBaseFilePath());
    int status = 0;
    {
        faultscope::MainWindow main(&dm.IniFile(), nullptr, &dm.TimeLabelColors());
        main.SetTraceFolder(faultscope::SettingsFolder());
        faultscope::TerminationSignals closeOnSignal(&main);
        main.show();
        // Records named on the command line open once the event loop runs.
        const QStringList files = QApplication::arguments().mid(1);
        QTimer::singleShot(0, &main, [&main, files] {
            for (const QString& file : files) {
                main.OpenRecord(file);
            }
        });
        status = QApplication::exec();
    }
    try {
        dm.Save();
    } catch (const faultscope::SettingsError& e) {
        faultscope::DefaultMessageBoxes().Show(faultscope::MessageIcon::Error, "Ошибка",
                                               QString::fromUtf8(e.what()));
    }
    return status;
}
