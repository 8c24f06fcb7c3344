#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <span>
#include <vector>

namespace faultscope {

class AnalogStripList;
class DiscreteStripList;
class StripListArea;

// The position of the first of `names` after `current` (from the first when `current` is -1)
// that contains `text` in any letter case, going round past the last name, so that `current`
// itself comes last; -1 when none does or `text` is empty.
std::ptrdiff_t NextNameMatch(std::span<const QString> names, const QString& text,
                             std::ptrdiff_t current);

// Finds a record's strips by their channel's name: the shown analog strips, then the shown
// discrete ones, each list in display order. The strip found is scrolled into view and
// highlighted until the next search or Clear.
class StripFinder {
  public:
    StripFinder(AnalogStripList* analog, DiscreteStripList* discrete);

    // Goes on to the next strip after the one found last whose name contains `text`; false,
    // with no strip highlighted, when there is none.
    bool FindNext(const QString& text);
    // Takes the highlight off.
    void Clear();
    // The strip found last, or null.
    [[nodiscard]] QWidget* Found() const noexcept { return found_; }

  private:
    struct Shown {
        QWidget* strip;
        StripListArea* list;
        QString name;
    };
    [[nodiscard]] std::vector<Shown> ShownStrips() const;

    QPointer<AnalogStripList> analog_;
    QPointer<DiscreteStripList> discrete_;
    QPointer<QWidget> found_;
};

}  // namespace faultscope
