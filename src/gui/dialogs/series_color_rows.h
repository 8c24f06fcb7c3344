#pragma once

#include <QWidget>
#include <vector>

class QVBoxLayout;

namespace faultscope {

class AnalogStrip;
class SeriesColorRow;

// The rows of the curve colour page, stacked from the top in the order they are added; every
// second row (the 2nd, 4th, …) is light grey, the others keep the page's colour. Meant as the
// widget of the page's scroll area.
class SeriesColorRows : public QWidget {
    Q_OBJECT

  public:
    // Red, green and blue 234: the background of every second row.
    static constexpr QRgb kEvenRowColor = qRgb(234, 234, 234);

    explicit SeriesColorRows(QWidget* parent = nullptr);

    // Adds a row bound to `strip` below the last one.
    SeriesColorRow* AddColorItem(AnalogStrip* strip);
    // Destroys every row.
    void Clear();

    [[nodiscard]] const std::vector<SeriesColorRow*>& Items() const noexcept { return items_; }

  private:
    QVBoxLayout* layout_;
    std::vector<SeriesColorRow*> items_;
};

}  // namespace faultscope
