#include <QApplication>
#include <QTimer>
#include <memory>

#include "core/settings/app_settings.h"
#include "core/settings/settings_error.h"
#include "core/settings/settings_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/translations.h"
#include "gui/widgets/message_boxes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    QApplication::setApplicationVersion(FAULTSCOPE_VERSION);
    faultscope::InstallToolkitTranslation(&app);

    // The settings come first: every window restores its state from them.
    faultscope::AppSettings dm(faultscope::SettingsFilePath(), faultscope::SettingsBaseFilePath());
    int status = 0;
    {
        faultscope::MainWindow main(&dm.IniFile(), nullptr, &dm.TimeLabelColors());
        main.SetTraceFolder(faultscope::SettingsFolder());
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
