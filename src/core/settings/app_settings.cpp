#include "core/settings/app_settings.h"

#include <QtGlobal>
#include <exception>

namespace faultscope {

namespace {

constexpr char kTimeLabelColorsKey[] = "TimeLableColorsAr";
constexpr char kChtColorsAr[] = "ChtColorsAr";
const QString kTableDelim = QStringLiteral("|");

}  // namespace

AppSettings::AppSettings(const QString& iniFileName, const QString& baseIniFileName)
    : iniFile_(iniFileName, baseIniFileName),
      formStates_(&iniFile_, QStringLiteral("%FORM_NAME%\\"), QString(), PlacementOptions::None()) {
    StrToColorsAr(formStates_.ReadString(kTimeLabelColorsKey), kTableDelim, timeLabelColors_);
    StrToColorsAr(formStates_.ReadString(kChtColorsAr), kTableDelim, curveColors_);
}

AppSettings::~AppSettings() {
    try {
        Save();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
}

void AppSettings::Save() {
    formStates_.WriteString(kTimeLabelColorsKey, ColorsArToStr(timeLabelColors_, kTableDelim));
    formStates_.WriteString(kChtColorsAr, ColorsArToStr(curveColors_, kTableDelim));
    iniFile_.UpdateFile();
}

}  // namespace faultscope
