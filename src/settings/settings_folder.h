#pragma once

#include <QString>

namespace faultscope {

inline constexpr char kSettingsFileName[] = "Config.ini";

// The folder of the files the program writes for itself ("Config.ini", trace files): beside the
// executable when that folder is writable (a portable install), otherwise the user's
// configuration folder, created when missing.
QString SettingsFolder();

// The rule of SettingsFolder() for a given executable folder and user configuration folder.
QString SettingsFolderFor(const QString& executableDir, const QString& userConfigDir);

// The full name of "Config.ini" in SettingsFolder().
QString SettingsFilePath();

}  // namespace faultscope
