// The channel visibility window over a record with 40 analog and 300 discrete channels, few of
// which change, driven by real mouse and key events.
#include <gtest/gtest.h>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QDropEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <memory>
#include <set>

#include "core/settings/ini_store.h"
#include "core/viewtemplate/view_template.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/line_series.h"
#include "gui/dialogs/channel_visibility_window.h"
#include "gui/dialogs/series_color_row.h"
#include "gui/dialogs/series_color_rows.h"
#include "gui/dialogs/template_name_dialog.h"
#include "gui/dialogs/visibility_template_panel.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/time_line.h"
#include "gui/widgets/color_button.h"
#include "gui/widgets/dual_list_box.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"
#include "wide_record.h"

namespace faultscope {
namespace {

// Discrete channels (file positions) that switch on half way; one more is on from start to end.
const std::vector<int> kChanging = {3, 77, 150, 299};
constexpr int kAlwaysOn = 10;

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts << list.item(i)->text();
    }
    return texts;
}

QStringList ShownTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        if (!list.item(i)->isHidden()) {
            texts << list.item(i)->text();
        }
    }
    return texts;
}

template <typename Strip>
QStringList VisibleNames(const std::vector<Strip*>& strips) {
    QStringList names;
    for (const Strip* strip : strips) {
        if (strip != nullptr && !strip->isHidden()) {
            names << QString::fromStdString(strip->Info().ch_id).trimmed();
        }
    }
    return names;
}

QListWidgetItem* FindItem(const QListWidget& list, const QString& text) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

// A click on an item as a person makes it, with Ctrl adding to the selection.
void ClickItem(QListWidget& list, const QString& text,
               Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QListWidgetItem* item = FindItem(list, text);
    ASSERT_NE(item, nullptr) << text.toStdString();
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualItemRect(item).center());
}

int CountPixels(const QImage& image, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).rgb() == color.rgb() ? 1 : 0;
        }
    }
    return count;
}

// Drags the item `text` of `from` onto `to`. The offscreen platform ends every drag at once,
// so the drop is handed the data the drag carries, after a real click selected the item.
bool Drag(QListWidget& from, const QString& text, DualListSide& to) {
    ClickItem(from, text, Qt::NoModifier);
    std::unique_ptr<QMimeData> data(static_cast<DualListSide&>(from).DragMimeData());
    return to.DropFrom(data.get());
}

class ChlViewTest : public test::MainWindowFixture {
  protected:
    void SetUp() override {
        layout_.changing = kChanging;
        layout_.alwaysOn = {kAlwaysOn};
        layout_.bracket = "ВЛ-110";
        base_ = QDir(dir_.path()).filePath("wide");
        ASSERT_TRUE(tools::WriteWideRecord(base_, layout_));
        MainWindowFixture::SetUp();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    }
    QString RecordToOpen() const override { return base_ + ".cfg"; }
    QSize WindowSize() const override { return {1400, 900}; }

    void CloseRecord() {
        window_->parentWidget()->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window_ = nullptr;
        doc_ = nullptr;
    }
    ChannelVisibilityWindow* ShowDialog() {
        Trigger("actChanelView");
        ChannelVisibilityWindow* dialog = window_->VisibilityWindow();
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        }
        return dialog;
    }
    // The keys of a section of the record's view template as the file on disk holds them.
    QStringList LytSection(const char* section) const {
        return IniStore(base_ + ".lyt").ReadSection(section);
    }
    QString AName(int i) const { return QString::fromStdString(tools::WideAnalogName(layout_, i)); }
    QString DName(int i) const {
        return QString::fromStdString(tools::WideDigitalName(layout_, i));
    }

    tools::WideRecordLayout layout_;
    QString base_;
};

TEST_F(ChlViewTest, OpensOncePerRecordInsideTheRecordWindowAndGoesWithIt) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Настройка видимости каналов");
    EXPECT_EQ(ShowDialog(), dialog);
    // Inside the record window: its left edge, 25 px below its top.
    EXPECT_EQ(dialog->pos(), window_->mapToGlobal(QPoint(0, 25)));
    EXPECT_EQ(dialog->lstDualA()->Left()->count(), 40);
    EXPECT_EQ(dialog->lstDualD()->Left()->count(), 300);
    EXPECT_EQ(dialog->lstDualA()->Left()->currentRow(), 0);
    EXPECT_EQ(dialog->rgSortA()->checkedId(), -1);

    dialog->pgc()->setCurrentIndex(1);
    dialog->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window_->VisibilityWindow(), nullptr);
    // The next request makes a new window, on the page it was left at.
    ChannelVisibilityWindow* again = ShowDialog();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->pgc()->currentIndex(), 1);
    EXPECT_EQ(ini_->ReadString("frmChlView", "pgc_ActivePage"), "tsDChl");

    QPointer<ChannelVisibilityWindow> watch(again);
    CloseRecord();
    EXPECT_TRUE(watch.isNull());
}

TEST_F(ChlViewTest, HidingChannelsHidesTheStripsAndKeepsTheViewForTheNextOpening) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    DualListBox& a = *dialog->lstDualA();
    ClickItem(*a.Left(), AName(1), Qt::NoModifier);
    ClickItem(*a.Left(), AName(5));
    QTest::mouseClick(a.BtnHide(), Qt::LeftButton);
    EXPECT_TRUE(doc_->AnalogStrips()->ChtList()[1]->isHidden());
    EXPECT_TRUE(doc_->AnalogStrips()->ChtList()[5]->isHidden());
    EXPECT_EQ(Texts(*a.Right()), QStringList({AName(1), AName(5)}));
    // The "AView" section names the shown strips in file order.
    QStringList expected = VisibleNames(doc_->AnalogStrips()->ChtList());
    EXPECT_EQ(expected.size(), 38);
    EXPECT_EQ(LytSection("AView"), expected);

    DualListBox& d = *dialog->lstDualD();
    ClickItem(*d.Left(), DName(200), Qt::NoModifier);
    QTest::keyClick(d.Left(), Qt::Key_Return);
    ClickItem(*d.Left(), DName(2), Qt::NoModifier);
    QTest::mouseClick(d.BtnHide(), Qt::LeftButton);
    // Discrete lists stay in display order after a move.
    EXPECT_EQ(Texts(*d.Right()), QStringList({DName(2), DName(200)}));
    EXPECT_TRUE(doc_->DiscreteStrips()->ChtList()[200]->isHidden());
    const QStringList dExpected = VisibleNames(doc_->DiscreteStrips()->ChtList());
    EXPECT_EQ(dExpected.size(), 298);
    EXPECT_EQ(LytSection("DView"), dExpected);

    CloseRecord();
    OpenLoaded(base_ + ".cfg");
    EXPECT_EQ(VisibleNames(doc_->AnalogStrips()->ChtList()), expected);
    EXPECT_EQ(VisibleNames(doc_->DiscreteStrips()->ChtList()), dExpected);
    ChannelVisibilityWindow* reopened = ShowDialog();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(Texts(*reopened->lstDualA()->Right()), QStringList({AName(1), AName(5)}));
}

TEST_F(ChlViewTest, HidingEveryAnalogChannelLeavesAnEmptyPanelAndTheTimeLine) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->lstDualA()->BtnHideAll(), Qt::LeftButton);
    EXPECT_TRUE(VisibleNames(doc_->AnalogStrips()->ChtList()).isEmpty());
    EXPECT_EQ(dialog->lstDualA()->Left()->count(), 0);
    EXPECT_FALSE(IniStore(base_ + ".lyt").SectionExists("AView"));
    EXPECT_TRUE(doc_->TimeLineView()->isVisible());
    EXPECT_TRUE(window_->PnlA()->isVisible());

    QTest::mouseClick(dialog->lstDualA()->BtnShowAll(), Qt::LeftButton);
    EXPECT_EQ(VisibleNames(doc_->AnalogStrips()->ChtList()).size(), 40);
    EXPECT_EQ(LytSection("AView").size(), 40);
}

TEST_F(ChlViewTest, SortsByNameAndBackToFileOrderWithoutTouchingTheTemplate) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    QStringList fileOrder;
    for (int i = 0; i < 40; ++i) {
        fileOrder << AName(i);
    }
    QStringList byName = fileOrder;
    byName.sort();
    ASSERT_NE(byName, fileOrder);

    QTest::mouseClick(dialog->rgSortA()->button(ChannelVisibilityWindow::kSortByName),
                      Qt::LeftButton);
    EXPECT_EQ(Texts(*dialog->lstDualA()->Left()), byName);
    const auto& display = doc_->AnalogStrips()->DisplayList();
    EXPECT_EQ(QString::fromStdString(display.front()->Info().ch_id), byName.front());
    EXPECT_LT(display[0]->y(), display[1]->y());
    EXPECT_EQ(display[1]->Tag(), 1);

    QTest::mouseClick(dialog->rgSortA()->button(ChannelVisibilityWindow::kSortDefault),
                      Qt::LeftButton);
    EXPECT_EQ(Texts(*dialog->lstDualA()->Left()), fileOrder);
    EXPECT_EQ(doc_->AnalogStrips()->DisplayList(), doc_->AnalogStrips()->ChtList());

    QTest::mouseClick(dialog->rgSortD()->button(ChannelVisibilityWindow::kSortByName),
                      Qt::LeftButton);
    EXPECT_TRUE(std::ranges::is_sorted(Texts(*dialog->lstDualD()->Left())));
    EXPECT_FALSE(QFile::exists(base_ + ".lyt") && IniStore(base_ + ".lyt").SectionExists("DView"));
    EXPECT_THROW(dialog->SortStrips(ChannelVisibilityWindow::Strips::Analog, 2),
                 std::invalid_argument);
}

TEST_F(ChlViewTest, OneHeightForAllStripsOfAKindAnalogNeverBelowFifty) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    struct Case {
        QSpinBox* spin;
        QPushButton* apply;
        int typed;
        int analog;          // expected analog height, -1 unchanged
        int discrete;        // expected discrete height, -1 unchanged
        bool enter = false;  // applied with Enter in the field instead of the button
    };
    const int a0 = doc_->AnalogStrips()->ChtList().front()->height();
    const Case cases[] = {
        {dialog->seA(), dialog->btnAHApply(), 30, 50, -1},
        {dialog->seA(), dialog->btnAHApply(), 120, 120, -1},
        {dialog->seD(), dialog->btnDHApply(), 30, -1, 30},
        {dialog->seA(), dialog->btnAHApply(), 80, 80, -1, true},
        {dialog->seD(), dialog->btnDHApply(), 20, -1, 20, true},
    };
    ASSERT_NE(a0, 120);
    for (const Case& c : cases) {
        c.spin->selectAll();
        QTest::keyClicks(c.spin, QString::number(c.typed));
        if (c.enter) {
            QTest::keyClick(c.spin, Qt::Key_Return);
        } else {
            QTest::mouseClick(c.apply, Qt::LeftButton);
        }
        QApplication::processEvents();
        if (c.analog > 0) {
            for (const AnalogStrip* strip : doc_->AnalogStrips()->ChtList()) {
                EXPECT_EQ(strip->height(), c.analog);
            }
        }
        if (c.discrete > 0) {
            for (const DiscreteStrip* strip : doc_->DiscreteStrips()->DisplayList()) {
                EXPECT_EQ(strip->height(), c.discrete);
            }
        }
    }
    QTest::keyClicks(dialog->seD(), "12345");
    EXPECT_LE(dialog->seD()->value(), 999);
}

TEST_F(ChlViewTest, FilterNarrowsAListAndAllMovesWhatItShows) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    DualListBox& d = *dialog->lstDualD();
    // K001…K009 and K100…K109 contain "k00"/"K10" in some letter case; any case matches.
    QTest::keyClicks(d.LeftFilter(), "k00");
    const QStringList shown = ShownTexts(*d.Left());
    ASSERT_EQ(shown.size(), 9);
    for (const QString& text : shown) {
        EXPECT_TRUE(text.startsWith("K00")) << text.toStdString();
    }
    QTest::mouseClick(d.BtnHideAll(), Qt::LeftButton);
    EXPECT_EQ(d.Right()->count(), 9);
    EXPECT_EQ(d.Left()->count(), 291);
    QStringList hidden;
    for (const DiscreteStrip* strip : doc_->DiscreteStrips()->ChtList()) {
        if (strip->isHidden()) {
            hidden << QString::fromStdString(strip->Info().ch_id);
        }
    }
    hidden.sort();
    QStringList sortedShown = shown;
    sortedShown.sort();
    EXPECT_EQ(hidden, sortedShown);

    d.LeftFilter()->clear();
    EXPECT_EQ(ShownTexts(*d.Left()).size(), 291);
}

TEST_F(ChlViewTest, DoubleClickAndDragMoveItems) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    DualListBox& a = *dialog->lstDualA();
    QListWidgetItem* item = FindItem(*a.Left(), AName(7));
    ASSERT_NE(item, nullptr);
    a.Left()->scrollToItem(item);
    const QPoint at = a.Left()->visualItemRect(item).center();
    QTest::mouseClick(a.Left()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(a.Left()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(Texts(*a.Right()), QStringList({AName(7)}));
    EXPECT_TRUE(doc_->AnalogStrips()->ChtList()[7]->isHidden());

    // A drag of the selection from the hidden list dropped on the shown one.
    EXPECT_TRUE(Drag(*a.Right(), AName(7), *a.Left()));
    EXPECT_EQ(a.Right()->count(), 0);
    EXPECT_FALSE(doc_->AnalogStrips()->ChtList()[7]->isHidden());
    EXPECT_EQ(LytSection("AView").size(), 40);
    // Dropped back on its own list, an item stays where it is.
    EXPECT_FALSE(Drag(*a.Left(), AName(3), *a.Left()));
    EXPECT_EQ(a.Right()->count(), 0);
}

TEST_F(ChlViewTest, OnlyChangedShowsExactlyTheDiscreteChannelsThatChange) {
    QStringList changing;
    for (int i : kChanging) {
        changing << DName(i);
    }
    // From the menu, without the window, and then from the window's button after showing all.
    Trigger("actDChangedOnly");
    EXPECT_EQ(VisibleNames(doc_->DiscreteStrips()->ChtList()), changing);
    EXPECT_EQ(LytSection("DView"), changing);

    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Texts(*dialog->lstDualD()->Left()), changing);
    QTest::mouseClick(dialog->lstDualD()->BtnShowAll(), Qt::LeftButton);
    EXPECT_EQ(VisibleNames(doc_->DiscreteStrips()->ChtList()).size(), 300);
    dialog->pgc()->setCurrentIndex(1);
    QTest::mouseClick(dialog->btnOnlyChanged(), Qt::LeftButton);
    EXPECT_EQ(VisibleNames(doc_->DiscreteStrips()->ChtList()), changing);
    EXPECT_EQ(Texts(*dialog->lstDualD()->Left()), changing);
    EXPECT_EQ(dialog->lstDualD()->Right()->count(), 296);
    EXPECT_EQ(LytSection("DView"), changing);
}

TEST_F(ChlViewTest, TemplateOfOneRecordAppliesToAnotherWhoseNamesDifferInBrackets) {
    ChannelVisibilityWindow* first = ShowDialog();
    ASSERT_NE(first, nullptr);
    DualListBox& a = *first->lstDualA();
    QTest::mouseClick(a.BtnHideAll(), Qt::LeftButton);
    for (int i : {12, 4, 30}) {
        ClickItem(*a.Right(), AName(i), Qt::NoModifier);
        QTest::keyClick(a.Right(), Qt::Key_Return);
    }
    EXPECT_EQ(first->TemplateNew(ChannelVisibilityWindow::Strips::Analog).front(),
              AName(12).section(' ', 0, 0));
    // "Добавить шаблон" keeps the shown names under the name typed into the dialog.
    test::OnModal<TemplateNameDialog>([](TemplateNameDialog* dialog) {
        QTest::keyClicks(dialog->edt(), "three");
        QTest::mouseClick(dialog->btnOk(), Qt::LeftButton);
    });
    QTest::mouseClick(first->ATemplateLst()->btnAdd(), Qt::LeftButton);
    ASSERT_EQ(first->ATemplateLst()->lst()->count(), 1);

    tools::WideRecordLayout other = layout_;
    other.bracket = "ВЛ-220";
    const QString otherBase = QDir(dir_.path()).filePath("other");
    ASSERT_TRUE(tools::WriteWideRecord(otherBase, other));
    OpenLoaded(otherBase + ".cfg");
    ChannelVisibilityWindow* second = ShowDialog();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    VisibilityTemplatePanel& frame = *second->ATemplateLst();
    ASSERT_EQ(frame.lst()->count(), 1);
    frame.lst()->setCurrentRow(0);
    QTest::mouseClick(frame.btnApply(), Qt::LeftButton);
    QStringList expected;
    for (int i : {4, 12, 30}) {
        expected << QString::fromStdString(tools::WideAnalogName(other, i));
    }
    EXPECT_EQ(VisibleNames(doc_->AnalogStrips()->ChtList()), expected);
    // Both lists in display order after a template.
    EXPECT_EQ(Texts(*second->lstDualA()->Left()), expected);
    EXPECT_EQ(Texts(*second->lstDualA()->Right()).size(), 37);
    EXPECT_EQ(IniStore(otherBase + ".lyt").ReadSection("AView"), expected);

    // Names the record lacks are ignored.
    second->TemplateApply(ChannelVisibilityWindow::Strips::Discrete,
                          {DName(5).section(' ', 0, 0), "нет"});
    EXPECT_EQ(VisibleNames(doc_->DiscreteStrips()->ChtList()),
              QStringList{QString::fromStdString(tools::WideDigitalName(other, 5))});
}

TEST_F(ChlViewTest, RecolouredCurveShowsAtOnceAndIsGoneAfterReopening) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->lstDualA()->BtnHideAll(), Qt::LeftButton);
    ClickItem(*dialog->lstDualA()->Right(), AName(0), Qt::NoModifier);
    QTest::keyClick(dialog->lstDualA()->Right(), Qt::Key_Return);
    dialog->pgc()->setCurrentWidget(dialog->sb()->parentWidget());
    QApplication::processEvents();
    // One row per analog strip, hidden ones included, every second one light grey.
    const auto& rows = dialog->ColorRows()->Items();
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows[1]->palette().color(rows[1]->backgroundRole()), QColor(234, 234, 234));
    EXPECT_NE(rows[0]->palette().color(rows[0]->backgroundRole()), QColor(234, 234, 234));

    AnalogStrip* strip = doc_->AnalogStrips()->ChtList()[0];
    const QColor initial = strip->Series()->Color();
    const QColor picked = ColorButton::StandardColors()[3] != initial
                              ? ColorButton::StandardColors()[3]
                              : ColorButton::StandardColors()[4];
    ASSERT_EQ(rows[0]->lblCaption()->text(), AName(0));
    ASSERT_EQ(CountPixels(strip->Cht()->grab().toImage(), picked), 0);
    test::OnPopup<QMenu>([&rows, picked](QMenu*) {
        const auto& colors = ColorButton::StandardColors();
        const auto at = std::ranges::find(colors, picked) - colors.begin();
        QTest::mouseClick(rows[0]->btnColor()->Swatches()[static_cast<std::size_t>(at)],
                          Qt::LeftButton);
    });
    QTest::mouseClick(rows[0]->btnColor(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(strip->Series()->Color(), picked);
    EXPECT_GT(CountPixels(strip->Cht()->grab().toImage(), picked), 50);

    CloseRecord();
    OpenLoaded(base_ + ".cfg");
    EXPECT_EQ(doc_->AnalogStrips()->ChtList()[0]->Series()->Color(), initial);
}

TEST_F(ChlViewTest, RemembersTemplateFrameWidthsAndPlacementInsideTheRecordWindow) {
    ChannelVisibilityWindow* dialog = ShowDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ATemplateLst()->width(), 193);
    auto* spl = dialog->findChild<QSplitter*>("spl");
    ASSERT_NE(spl, nullptr);
    const int total = spl->sizes()[0] + spl->sizes()[1];
    spl->setSizes({total - 230, 230});
    dialog->move(window_->mapToGlobal(QPoint(40, 60)));
    dialog->close();
    QApplication::processEvents();
    EXPECT_EQ(ini_->ReadInteger("frmChlView", "ATemplateLst_Width", 0), 230);

    ChannelVisibilityWindow* again = ShowDialog();
    ASSERT_NE(again, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(again->ATemplateLst()->width(), 230);
    EXPECT_EQ(again->pos(), window_->mapToGlobal(QPoint(40, 60)));

    // Left beyond the record window's right and bottom edges, it opens inside them again.
    again->move(window_->mapToGlobal(QPoint(window_->width() - 20, window_->height() - 10)));
    again->close();
    QApplication::processEvents();
    ChannelVisibilityWindow* inside = ShowDialog();
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->pos(), window_->mapToGlobal(QPoint(window_->width() - inside->width(),
                                                         window_->height() - inside->height())));
}

TEST_F(ChlViewTest, CommandSitsInTheViewMenuAndItsButtonShowsNoToolTip) {
    QAction* command = main_->Action("actChanelView");
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), "Видимость каналов");
    EXPECT_EQ(command->statusTip(), "Настройка видимости и высоты каналов");
    EXPECT_EQ(command->shortcut(), QKeySequence("Ctrl+Alt+V"));
    QMenu* view = nullptr;
    for (QAction* menu : main_->menuBar()->actions()) {
        if (menu->text() == "Вид") {
            view = menu->menu();
        }
    }
    ASSERT_NE(view, nullptr);
    const QList<QAction*> entries = view->actions();
    const auto at = entries.indexOf(command);
    ASSERT_GE(at, 3);
    EXPECT_EQ(entries[at - 3], main_->Action("actAChanelView"));
    EXPECT_EQ(entries[at - 2], main_->Action("actDChanelView"));
    EXPECT_TRUE(entries[at - 1]->isSeparator());
    EXPECT_EQ(entries[at + 1], main_->Action("actDChangedOnly"));

    auto* bar = main_->findChild<QToolBar*>("ToolBar");
    ASSERT_NE(bar, nullptr);
    // A tip once shown fades out late: the button without one is asked first.
    for (const auto& [name, tip] : {std::pair{"actChanelView", false}, {"actDChanelView", true}}) {
        QWidget* button = bar->widgetForAction(main_->Action(name));
        ASSERT_NE(button, nullptr) << name;
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &help);
        EXPECT_EQ(QToolTip::isVisible(), tip) << name;
    }
    QToolTip::hideText();
}

}  // namespace
}  // namespace faultscope
