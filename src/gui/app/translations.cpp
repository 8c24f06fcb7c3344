#include "gui/app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace faultscope {

bool InstallToolkitTranslation(QObject* owner) {
    auto* translator = new QTranslator(owner);
    // "qt_ru" bundles the base module's texts with those of the other modules in use.
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace faultscope
