// Writes the README's picture of the channel visibility window over a record of 40 analog and
// 300 discrete channels, with only the discrete channels that changed shown. Run under a virtual
// X server:
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/release/tools/make_visibility_shot
//   docs/channel_visibility.png
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "core/settings/ini_store.h"
#include "core/viewtemplate/template_store.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/dialogs/channel_visibility_window.h"
#include "gui/document/record_document.h"
#include "gui/widgets/dual_list_box.h"
#include "screenshot_support.h"
#include "wide_record.h"

int main(int argc, char** argv) {
    using namespace faultscope;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_visibility_shot OUT.png\n");
        return 2;
    }
    QTemporaryDir dir;
    tools::WideRecordLayout layout;
    layout.bracket = "ВЛ-110";
    layout.changing = {3, 41, 77, 150, 233, 299};
    layout.alwaysOn = {10};
    const QString base = QDir(dir.path()).filePath("relay");
    if (!tools::WriteWideRecord(base, layout)) {
        return 1;
    }
    // Two saved discrete templates in a settings file of the picture's own.
    IniStore settings(QDir(dir.path()).filePath("Config.ini"));
    settings.WriteString(kDigitalTemplateSection, "Отключение линии", "K040|K102|K151|");
    settings.WriteString(kDigitalTemplateSection, "Пуск защит", "K030|K234|K288|");
    MainWindow main(&settings);
    main.setGeometry(0, 0, 1600, 1000);
    main.show();
    RecordWindow* window = tools::OpenMaximized(main, base + ".cfg");
    if (window == nullptr) {
        return 1;
    }
    window->ChannelView();
    ChannelVisibilityWindow* dialog = window->VisibilityWindow();
    dialog->resize(640, 470);
    dialog->pgc()->setCurrentIndex(1);
    dialog->ShowOnlyChanged();
    dialog->lstDualD()->RightFilter()->setText("k1");
    const QString out = QString::fromLocal8Bit(argv[1]);
    return tools::SaveScreenWhenSettled(out, 700);
}
