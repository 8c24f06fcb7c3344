#pragma once

#include <QString>

namespace faultscope {

inline constexpr char kSettingsFileName[] = "Config.ini";

// The folder of the files the program writes for itself ("Config.ini", trace files): beside the
// executable when that folder is writable (a portable copy), otherwise the user's configuration
// folder, created when missing. An installed program always uses the user's folder: nothing is
// written beside the system's executables, even by root.
QString SettingsFolder();

// The folder the build installs its executables into.
QString InstalledExecutableFolder();

// Whether the executable runs from the folder it is installed into (a package's or
// `cmake --install`'s), whoever may write there.
bool RunsInstalled(const QString& executableDir);

// The rule of SettingsFolder() for a given executable folder and user configuration folder.
QString SettingsFolderFor(const QString& executableDir, const QString& userConfigDir,
                          bool installed = false);

// The full name of "Config.ini" in SettingsFolder().
QString SettingsFilePath();

// "Config.ini" beside the executable when the settings are written elsewhere (a read-only
// install): its settings still apply, under the user's own. Empty when there is none.
QString SettingsBaseFilePath();

}  // namespace faultscope
