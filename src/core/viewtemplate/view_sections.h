#pragma once

#include <QString>
#include <QStringList>

namespace faultscope {

class ChannelViewList;
class IniStore;

inline constexpr char kAnalogViewSection[] = "AView";
inline constexpr char kDiscreteViewSection[] = "DView";

// The key a channel name is stored under in a view section: the name without surrounding
// blanks. A name that an INI key cannot hold as it is (one with "=", or starting with "[", as
// spare channels are named) has "=" written as "%3D" and a leading "[" as "%5B"; every other
// name is stored exactly.
[[nodiscard]] QString ViewKey(const QString& channelName);

// The names of the visible strips of `list`, in its order, as view keys. Throws
// std::invalid_argument("Frame list not assigned") without a list.
[[nodiscard]] QStringList VisibleChannelKeys(const ChannelViewList* list);

// Writes `keys` as the section: erases it, then one key per name with the value "1". No name,
// no section. Throws std::invalid_argument("Ini file not assigned") without a file.
void SaveChannelView(IniStore* ini, const QString& section, const QStringList& keys);

// Applies the section to `list`: a strip is shown when its view key is one of the section's
// keys (letter case included) and hidden otherwise. A missing or empty section changes nothing.
// Throws as above without a file or a list.
void LoadChannelView(const IniStore* ini, const QString& section, ChannelViewList* list);

// Applies a list of keys to `list` as LoadChannelView does.
void LoadChannelView(const QStringList& keys, ChannelViewList* list);

}  // namespace faultscope
