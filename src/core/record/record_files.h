#pragma once

#include <QString>

#include "core/record/record_config.h"
#include "core/record/text_encoding.h"

namespace faultscope {

// The files of one record: `fileName` is the folder plus the base name as the user chose it;
// the two paths are the files found on disk, whatever the letter case of their extensions.
struct RecordFiles {
    QString fileName;
    QString cfgPath;
    QString datPath;
};

// Checks the file the user chose and the pair beside it. Raises LoadError when the chosen file
// does not exist; otherwise sets `files.fileName` and returns whether both partners exist.
// A partner's extension is matched without regard to letter case; when several spellings
// exist, the one whose case follows the chosen file's extension wins.
bool CheckFile(const QString& filePath, RecordFiles& files);

// `wanted` spelled with the letter case of `model`, letter by letter ("dat" after "Cfg" is
// "Dat"), so that a file found beside another follows its spelling.
QString CaseLike(const QString& wanted, const QString& model);

// Reads and parses the configuration file. Raises LoadError with the user's message.
RecordConfig LoadCfgFile(const QString& filePath, TextEncoding encoding);

}  // namespace faultscope
