#include "gui/widgets/color_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QWidgetAction>

namespace faultscope {
namespace {

constexpr int kColumns = 8;
constexpr int kSwatch = 18;

QIcon SwatchIcon(const QColor& color) {
    QPixmap pixmap(kSwatch - 4, kSwatch - 4);
    pixmap.fill(color);
    QPainter p(&pixmap);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

}  // namespace

ColorButton::ColorButton(QWidget* parent) : QToolButton(parent), menu_(new QMenu(this)) {
    setPopupMode(QToolButton::InstantPopup);
    setMenu(menu_);
    setFixedSize(44, 20);
    BuildMenu();
}

const std::vector<QColor>& ColorButton::StandardColors() {
    static const std::vector<QColor> colors = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 128, 128),
        QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255),
    };
    return colors;
}

void ColorButton::BuildMenu() {
    auto* grid = new QWidget(menu_);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    const std::vector<QColor>& colors = StandardColors();
    for (std::size_t i = 0; i < colors.size(); ++i) {
        auto* swatch = new QToolButton(grid);
        swatch->setAutoRaise(true);
        swatch->setFixedSize(kSwatch, kSwatch);
        swatch->setIconSize(QSize(kSwatch - 4, kSwatch - 4));
        swatch->setIcon(SwatchIcon(colors[i]));
        swatch->setToolTip(colors[i].name());
        connect(swatch, &QToolButton::clicked, this, [this, color = colors[i]] {
            menu_->close();
            Pick(color);
        });
        layout->addWidget(swatch, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
        swatches_.push_back(swatch);
    }
    auto* palette = new QWidgetAction(menu_);
    palette->setDefaultWidget(grid);
    menu_->addAction(palette);
    menu_->addSeparator();
    actOther_ = menu_->addAction("Другой…");
    connect(actOther_, &QAction::triggered, this, &ColorButton::PickOther);
}

void ColorButton::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void ColorButton::Pick(const QColor& color) {
    if (!color.isValid() || color == color_) {
        return;
    }
    SetColor(color);
    emit colorChanged(color);
}

void ColorButton::PickOther() {
    // The window that owns the dialog may close while it is open, taking the dialog and this
    // button with it; both are watched.
    QPointer<ColorButton> self(this);
    QPointer<QColorDialog> dialog(new QColorDialog(color_, window()));
    dialog->setObjectName("dlgColor");
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (dialog == nullptr) {
        return;
    }
    const QColor color = dialog->selectedColor();
    delete dialog;
    if (accepted && self != nullptr) {
        Pick(color);
    }
}

void ColorButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = {};
    option.text.clear();
    p.drawComplexControl(QStyle::CC_ToolButton, option);
    const QRect button =
        style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, this);
    const QRect swatch = button.adjusted(4, 4, -14, -4);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(color_);
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

}  // namespace faultscope
