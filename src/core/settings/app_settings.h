#pragma once

#include <QString>

#include "core/settings/color_table.h"
#include "core/settings/form_state_store.h"
#include "core/settings/ini_store.h"

namespace faultscope {

// The program's shared settings: the settings file and the two colour tables the views share.
// Created at start-up before any window and released after all of them, so its tables are
// written last.
// Formerly Tdm.
class AppSettings {
  public:
    // Opens the settings file and reads both colour tables (the defaults when absent or empty).
    explicit AppSettings(const QString& iniFileName, const QString& baseIniFileName = {});
    // Saves; a failure is logged, since a destructor cannot report it. Call Save() first to show
    // the user what went wrong.
    ~AppSettings();

    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    IniStore& IniFile() noexcept { return iniFile_; }
    ColorTable& TimeLabelColors() noexcept { return timeLabelColors_; }
    ColorTable& CurveColors() noexcept { return curveColors_; }

    // Writes both colour tables back into the store and the store to disk when it changed.
    // Throws SettingsError when the file cannot be written.
    void Save();

  private:
    IniStore iniFile_;
    FormStateStore formStates_;
    ColorTable timeLabelColors_;
    ColorTable curveColors_;
};

}  // namespace faultscope
