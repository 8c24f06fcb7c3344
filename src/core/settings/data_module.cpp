#include "core/settings/data_module.h"

#include <QtGlobal>
#include <exception>

namespace faultscope {

namespace {

constexpr char kTimeLableColorsAr[] = "TimeLableColorsAr";
constexpr char kChtColorsAr[] = "ChtColorsAr";
const QString kTableDelim = QStringLiteral("|");

}  // namespace

Tdm::Tdm(const QString& iniFileName, const QString& baseIniFileName)
    : iniFile_(iniFileName, baseIniFileName),
      frmStoreg_(&iniFile_, QStringLiteral("%FORM_NAME%\\"), QString(), PlacementOptions::None()) {
    StrToColorsAr(frmStoreg_.ReadString(kTimeLableColorsAr), kTableDelim, timeLableColorsAr_);
    StrToColorsAr(frmStoreg_.ReadString(kChtColorsAr), kTableDelim, chtColorsAr_);
}

Tdm::~Tdm() {
    try {
        Save();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
}

void Tdm::Save() {
    frmStoreg_.WriteString(kTimeLableColorsAr, ColorsArToStr(timeLableColorsAr_, kTableDelim));
    frmStoreg_.WriteString(kChtColorsAr, ColorsArToStr(chtColorsAr_, kTableDelim));
    iniFile_.UpdateFile();
}

}  // namespace faultscope
