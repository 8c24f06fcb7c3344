#pragma once

#include <QString>

#include "core/settings/color_table.h"
#include "core/settings/form_state_store.h"
#include "core/settings/ini_store.h"

namespace faultscope {

// The program's shared settings: the settings file and the two colour tables the views share.
// Created at start-up before any window and released after all of them, so its tables are
// written last.
class Tdm {
  public:
    // Opens the settings file and reads both colour tables (the defaults when absent or empty).
    explicit Tdm(const QString& iniFileName, const QString& baseIniFileName = {});
    // Saves; a failure is logged, since a destructor cannot report it. Call Save() first to show
    // the user what went wrong.
    ~Tdm();

    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    IniStore& IniFile() noexcept { return iniFile_; }
    FormStateStore& FrmStoreg() noexcept { return frmStoreg_; }
    ColorTable& TimeLableColorsAr() noexcept { return timeLableColorsAr_; }
    ColorTable& ChtColorsAr() noexcept { return chtColorsAr_; }

    // Writes both colour tables back into the store and the store to disk when it changed.
    // Throws SettingsError when the file cannot be written.
    void Save();

  private:
    IniStore iniFile_;
    FormStateStore frmStoreg_;
    ColorTable timeLableColorsAr_;
    ColorTable chtColorsAr_;
};

}  // namespace faultscope
