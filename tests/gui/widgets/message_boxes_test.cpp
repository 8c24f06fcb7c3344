#include "gui/widgets/message_boxes.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "gui/chart/chart_test_support.h"
#include "support/modal_dialog.h"

namespace faultscope {
namespace {

// What the box showed and which button it had as default and for Escape.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
};

// Reads the next box and presses `press` on it.
void OnBox(SeenBox& seen, QMessageBox::StandardButton press) {
    test::OnModal<QMessageBox>([&seen, press](QMessageBox* box) {
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.escapeButton = box->standardButton(box->escapeButton());
        seen.parent = box->parentWidget();
        QTest::mouseClick(box->button(press), Qt::LeftButton);
    });
}

TEST(MessageBoxes, ShowsEachIconWithItsCaptionOrTheProgramsTitle) {
    QWidget owner;
    MessageBoxes boxes(&owner);
    const struct {
        MessageIcon icon;
        QString caption;
        QMessageBox::Icon shown;
        QString title;
    } cases[] = {
        {MessageIcon::Error, "Ошибка", QMessageBox::Critical, "Ошибка"},
        {MessageIcon::Warning, "Внимание", QMessageBox::Warning, "Внимание"},
        {MessageIcon::Information, "Внимание", QMessageBox::Information, "Внимание"},
        {MessageIcon::None, {}, QMessageBox::NoIcon, QApplication::applicationName()},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        OnBox(seen, QMessageBox::Ok);
        boxes.Show(c.icon, c.caption, "текст");
        EXPECT_EQ(seen.icon, c.shown) << c.title.toStdString();
        EXPECT_EQ(seen.title, c.title);
        EXPECT_EQ(seen.text, "текст");
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(seen.parent, &owner);
    }
}

TEST(MessageBoxes, AQuestionDefaultsToNoAndAnswersWhatWasPressed) {
    MessageBoxes boxes;
    for (const auto press : {QMessageBox::No, QMessageBox::Yes}) {
        SeenBox seen;
        OnBox(seen, press);
        const bool yes = boxes.AskYesNo(MessageIcon::Warning, "Внимание", "Удалить?");
        EXPECT_EQ(yes, press == QMessageBox::Yes);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.defaultButton, QMessageBox::No);
        EXPECT_EQ(seen.escapeButton, QMessageBox::No);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
    }
}

TEST(MessageBoxes, WindowsWithoutASinkOfTheirOwnShareTheDefaultBoxes) {
    MessageSink* none = nullptr;
    EXPECT_EQ(&MessagesOr(none), &DefaultMessageBoxes());
    MessageCallback own({});
    EXPECT_EQ(&MessagesOr(&own), &own);
}

}  // namespace
}  // namespace faultscope
