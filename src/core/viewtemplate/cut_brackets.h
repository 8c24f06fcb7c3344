#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace faultscope {

// The name a visibility template keeps for a channel: the first parenthesised part removed and
// blanks trimmed, so that "Ia (ВЛ-110)" and "Ia (ВЛ-220)" are both "Ia". A "(" without a ")"
// after it cuts the rest of the name off ("Q1 (вкл" gives "Q1"); a name without "(" is only
// trimmed.
[[nodiscard]] QString CutBrackets(const QString& name);

// Which of the channels named `items` (in list order) a template of `names` shows: for every
// name, the first item not shown yet whose CutBrackets text equals it exactly, letter case
// included. Channels whose names cut to the same text are kept apart by their order: a name
// written twice shows the first two of them. A name that matches nothing is ignored.
[[nodiscard]] std::vector<bool> MatchTemplateNames(const QStringList& items,
                                                   const QStringList& names);

}  // namespace faultscope
