#pragma once

#include <QString>
#include <QStringList>

namespace faultscope {

class IniStore;

// Which channels a visibility template list holds.
// Formerly TTemplateChanels.
enum class TemplateKind { tcAnalog, tcDigital };

// The settings sections of the two visibility template lists.
inline constexpr char kAnalogTemplateSection[] = "ATemplateLst";
inline constexpr char kDigitalTemplateSection[] = "DTemplateLst";

// A visibility template is one key of its section: the key is the template's name, the value its
// channel names, each followed by "|". A channel name holding "|" or "\" is stored with a "\"
// before that character, so every name reads back as it was; "@" and "=" need nothing there.

// The stored value of the channel names `names`: every non-empty one, escaped, followed by "|".
[[nodiscard]] QString TemplateValue(const QStringList& names);

// The channel names of a stored value, split at every "|" that is not escaped, the text after
// the last "|" included (so "Ia|Ib|" gives "Ia", "Ib" and ""). A "\" before anything but "|" or
// "\" is kept as it is.
[[nodiscard]] QStringList TemplateNames(const QString& value);

// Why `name` cannot name a template, as the user is told; empty when it can. The name is taken
// trimmed; the key of a settings line cannot hold "=" or begin with "[".
[[nodiscard]] QString TemplateNameError(const QString& name);

// The templates of `section` as "name=value" lines in the order of the file.
[[nodiscard]] QStringList ReadTemplateList(const IniStore& ini, const QString& section);

// The name and the value of one "name=value" line of ReadTemplateList.
[[nodiscard]] QString TemplateLineName(const QString& line);
[[nodiscard]] QString TemplateLineValue(const QString& line);

// Stores the template `name` (trimmed) with the channel names `names` and writes the settings
// file at once; a template of the same name, compared without letter case and surrounding
// blanks, is replaced. A name TemplateNameError refuses throws std::invalid_argument; a file
// that cannot be written throws SettingsError (the change stays in the store).
void WriteTemplate(IniStore& ini, const QString& section, const QString& name,
                   const QStringList& names);

// Removes the template `name` and writes the settings file at once; throws SettingsError when
// the file cannot be written.
void DeleteTemplate(IniStore& ini, const QString& section, const QString& name);

}  // namespace faultscope
