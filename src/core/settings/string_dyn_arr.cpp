#include "core/settings/string_dyn_arr.h"

namespace faultscope {

QString StringDynArrToString(const QStringList& StringArr, const QString& Delim) {
    return StringArr.join(Delim);
}

}  // namespace faultscope
