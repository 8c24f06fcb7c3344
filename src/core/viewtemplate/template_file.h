#pragma once

#include <QString>

namespace faultscope {

// The view template file of a record. `fileName` is the record path without its extension as
// the document holds it; `modelExtension` is the extension of the configuration file found, whose
// letter case the template file's extension follows ("X.CFG" takes an existing "X.LYT"). A path
// that already names a ".lyt" file is used as it is. The file need not exist.
[[nodiscard]] QString TemplateFilePath(const QString& fileName,
                                       const QString& modelExtension = QStringLiteral("cfg"));

// Whether a file can be written at `path` as the template engine writes it: a temporary file in
// its folder renamed over it. Tried for real, since permission bits do not tell about read-only
// media or shares.
[[nodiscard]] bool CanWriteFile(const QString& path);

}  // namespace faultscope
