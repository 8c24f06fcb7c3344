#pragma once

#include <QString>
#include <QStringList>

namespace faultscope {

// Joins the strings, each but the last followed by the delimiter; an empty list gives "".
QString StringDynArrToString(const QStringList& StringArr, const QString& Delim);

}  // namespace faultscope
