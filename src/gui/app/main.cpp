#include <QApplication>
#include <QTimer>
#include <memory>

#include "core/settings/data_module.h"
#include "core/settings/settings_error.h"
#include "core/settings/settings_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/app/translations.h"
#include "gui/dialogs/time_lable_edit.h"
#include "gui/views/lable_colors.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    QApplication::setApplicationVersion(FAULTSCOPE_VERSION);
    faultscope::InstallToolkitTranslation(&app);

    // The settings come first: every window restores its state from them.
    faultscope::Tdm dm(faultscope::SettingsFilePath(), faultscope::SettingsBaseFilePath());
    faultscope::LableColorPool::SetTable(&dm.TimeLableColorsAr());
    faultscope::TfrmTLableEdit::SetSettings(&dm.IniFile());
    int status = 0;
    {
        faultscope::TfrmMain main(&dm.IniFile());
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
    faultscope::TfrmTLableEdit::SetSettings(nullptr);
    faultscope::LableColorPool::SetTable(nullptr);
    faultscope::LableColorPool::Clear();
    try {
        dm.Save();
    } catch (const faultscope::SettingsError& e) {
        faultscope::ShowError(nullptr, QString::fromUtf8(e.what()));
    }
    return status;
}
