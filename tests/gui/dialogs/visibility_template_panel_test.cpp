#include "gui/dialogs/visibility_template_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "core/settings/ini_store.h"
#include "core/viewtemplate/cut_brackets.h"
#include "gui/chart/chart_test_support.h"
#include "gui/dialogs/template_name_dialog.h"
#include "support/modal_dialog.h"
#include "support/read_only_folder.h"
#include "support/recorded_messages.h"

namespace faultscope {
namespace {

// Types `text` key by key; the test library's own typing knows only ASCII.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Saves a picture of `widget` as NAME.png in the folder named by FAULTSCOPE_SHOT_DIR, when set.
void Shoot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("FAULTSCOPE_SHOT_DIR");
    if (!folder.isEmpty()) {
        widget->grab().save(QDir(folder).filePath(QString(name) + ".png"));
    }
}

// Names a new template in the dialog the frame opens and presses "Добавить".
void NameTemplate(const QString& name) {
    test::OnModal<TemplateNameDialog>([name](TemplateNameDialog* dialog) {
        Type(dialog->edt(), name);
        QTest::mouseClick(dialog->btnOk(), Qt::LeftButton);
    });
}

class TemplateListFrameTest : public ::testing::Test {
  protected:
    void TearDown() override { frame_.reset(); }

    QString IniPath() const { return dir_.filePath("Config.ini"); }
    void WriteIni(const QByteArray& text) {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString IniText() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // A frame over the settings as the file holds them now, built as the channel dialog does.
    void MakeFrame(const QString& section = kAnalogTemplateSection) {
        frame_.reset();
        ini_ = std::make_unique<IniStore>(IniPath());
        frame_ = std::make_unique<VisibilityTemplatePanel>(ini_.get(), nullptr, &recorded_);
        frame_->setObjectName(section);
        frame_->SetSectionName(frame_->objectName());
        frame_->SetOnNew([this](VisibilityTemplatePanel* sender, QStringList& list) {
            EXPECT_EQ(sender, frame_.get());
            list += visible_;
        });
        frame_->SetOnApply([this](VisibilityTemplatePanel* sender, const QStringList& names) {
            EXPECT_EQ(sender, frame_.get());
            applied_.push_back(names);
        });
        frame_->LoadList();
        frame_->show();
        QApplication::processEvents();
    }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < frame_->lst()->count(); ++i) {
            names.push_back(frame_->lst()->item(i)->text());
        }
        return names;
    }
    void ClickItem(int row) {
        QListWidget* lst = frame_->lst();
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          lst->visualItemRect(lst->item(row)).center());
    }
    void Click(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir dir_;
    std::unique_ptr<IniStore> ini_;
    std::unique_ptr<VisibilityTemplatePanel> frame_;
    QStringList visible_;
    std::vector<QStringList> applied_;
    test::RecordedMessages recorded_;
    std::vector<test::RecordedMessages::Message>& messages_ = recorded_.shown;
};

TEST_F(TemplateListFrameTest, ShowsItsGroupAndThreeHintedButtons) {
    WriteIni("[ATemplateLst]\nЛиния=Ia|Ib|Ic|\nШины=Ua|Ub|Uc|\n");
    MakeFrame();
    Shoot(frame_.get(), "template_list");
    EXPECT_EQ(frame_->grp()->title(), "Шаблоны видимости:");
    EXPECT_EQ(frame_->pnlBtn()->height(), 28);
    const struct {
        QToolButton* button;
        const char* hint;
    } buttons[] = {{frame_->btnAdd(), "Добавить шаблон"},
                   {frame_->btnDel(), "Удалить шаблон"},
                   {frame_->btnApply(), "Применить шаблон"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.button->size(), QSize(24, 24));
        EXPECT_TRUE(b.button->autoRaise());
        EXPECT_FALSE(b.button->icon().isNull());
    }
    EXPECT_EQ(frame_->lst()->count(), 2);
}

TEST_F(TemplateListFrameTest, AddingWritesTheVisibleNamesAndReplacesATemplateOfTheSameName) {
    WriteIni("[ATemplateLst]\nСтарый=Ua|\n");
    MakeFrame();
    visible_ = {"Ia", "", "Ib"};
    NameTemplate("Линия");
    Click(frame_->btnAdd());
    EXPECT_EQ(Names(), QStringList({"Старый", "Линия"}));
    EXPECT_EQ(frame_->TemplateList(), QStringList({"Старый=Ua|", "Линия=Ia|Ib|"}));
    EXPECT_TRUE(IniText().contains("Линия=Ia|Ib|\n")) << IniText().toStdString();

    visible_ = {"I0"};
    NameTemplate("  ЛИНИЯ ");
    Click(frame_->btnAdd());
    EXPECT_EQ(Names(), QStringList({"Старый", "Линия"}));
    EXPECT_TRUE(IniText().contains("[ATemplateLst]\nСтарый=Ua|\nЛиния=I0|\n"))
        << IniText().toStdString();
    EXPECT_TRUE(messages_.empty());
}

TEST_F(TemplateListFrameTest, ApplyingSplitsTheValueAtEveryBar) {
    WriteIni("[ATemplateLst]\nT1=Ia|Ib|\nПусто=\n[DTemplateLst]\nD=Q1|\n");
    MakeFrame();
    EXPECT_EQ(Names(), QStringList({"T1", "Пусто"}));
    Click(frame_->btnApply());
    EXPECT_TRUE(applied_.empty()) << "nothing selected";
    ClickItem(0);
    Click(frame_->btnApply());
    ClickItem(1);  // the first click of a double click
    QTest::mouseDClick(frame_->lst()->viewport(), Qt::LeftButton, {},
                       frame_->lst()->visualItemRect(frame_->lst()->item(1)).center());
    ASSERT_EQ(applied_.size(), 2U);
    EXPECT_EQ(applied_[0], QStringList({"Ia", "Ib", ""}));
    EXPECT_EQ(applied_[1], QStringList({""}));

    MakeFrame(kDigitalTemplateSection);
    EXPECT_EQ(Names(), QStringList({"D"}));
}

TEST_F(TemplateListFrameTest, DeletingAsksFirstAndRemovesTheLineFromTheFile) {
    WriteIni("[ATemplateLst]\nT1=Ia|\nT2=Ib|\n");
    MakeFrame();
    ClickItem(0);
    for (const bool answer : {false, true}) {
        recorded_.answer = answer;
        Click(frame_->btnDel());
        ASSERT_EQ(recorded_.asked.size(), answer ? 2u : 1u);
        EXPECT_EQ(recorded_.asked.back().icon, MessageIcon::Warning);
        EXPECT_EQ(recorded_.asked.back().caption, "Внимание");
        EXPECT_EQ(recorded_.asked.back().text, "Вы уверены что хотите удалить шаблон видимости?");
        if (!answer) {
            EXPECT_EQ(Names(), QStringList({"T1", "T2"}));
            EXPECT_TRUE(IniText().contains("T1=Ia|"));
        }
    }
    EXPECT_EQ(Names(), QStringList({"T2"}));
    EXPECT_EQ(frame_->TemplateList(), QStringList({"T2=Ib|"}));
    EXPECT_FALSE(IniText().contains("T1"));
    EXPECT_TRUE(IniText().contains("T2=Ib|"));
}

TEST_F(TemplateListFrameTest, TheNameDialogStaysOpenUntilTheNameIsUsable) {
    MakeFrame();
    visible_ = {"Ia"};
    bool stayedOpen = false;
    test::OnModal<TemplateNameDialog>([&](TemplateNameDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Новый шаблон");
        EXPECT_EQ(dialog->size(), QSize(229, 85));
        EXPECT_TRUE(dialog->btnOk()->isDefault());
        EXPECT_EQ(dialog->btnOk()->text(), "Добавить");
        Shoot(dialog, "template_new");
        QTest::mouseClick(dialog->btnOk(), Qt::LeftButton);
        Type(dialog->edt(), "a=b");
        QTest::mouseClick(dialog->btnOk(), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        QTest::mouseClick(dialog->btnCancel(), Qt::LeftButton);
    });
    Click(frame_->btnAdd());
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages_.size(), 2U);
    EXPECT_EQ(messages_[0].text, "Введите имя шаблона");
    EXPECT_EQ(messages_[0].caption, "Внимание");
    EXPECT_EQ(messages_[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(messages_[1].text.contains("\"=\""));
    EXPECT_EQ(frame_->lst()->count(), 0);
    EXPECT_FALSE(QFile::exists(IniPath()));
}

TEST_F(TemplateListFrameTest, WithoutVisibleChannelsNothingIsAskedOrWritten) {
    MakeFrame();
    Click(frame_->btnAdd());
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_EQ(messages_[0].text, "Невозможно создать шаблон, поскольку нет видимых каналов.");
    EXPECT_EQ(messages_[0].caption, "Внимание");
    EXPECT_EQ(messages_[0].icon, MessageIcon::Information);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(QFile::exists(IniPath()));
}

TEST_F(TemplateListFrameTest, BarsAndAtSignsInNamesSurviveTheFile) {
    MakeFrame();
    visible_ = {"A|B", "C@D", "E\\F"};
    NameTemplate("x|y@z");
    Click(frame_->btnAdd());
    EXPECT_TRUE(IniText().contains("x|y@z=A\\|B|C@D|E\\\\F|\n")) << IniText().toStdString();
    MakeFrame();
    ClickItem(0);
    Click(frame_->btnApply());
    ASSERT_EQ(applied_.size(), 1U);
    EXPECT_EQ(applied_[0], QStringList({"A|B", "C@D", "E\\F", ""}));
}

TEST_F(TemplateListFrameTest, AFileThatCannotBeWrittenIsReportedAndTheTemplateKept) {
    MakeFrame();
    visible_ = {"Ia"};
    {
        test::ReadOnlyFolder readOnly(dir_.path());
        if (QFileInfo(dir_.path()).isWritable()) {
            GTEST_SKIP() << "permissions do not bind this user";
        }
        NameTemplate("T");
        Click(frame_->btnAdd());
    }
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_EQ(messages_[0].caption, "Ошибка");
    EXPECT_EQ(Names(), QStringList({"T"}));
    ini_->UpdateFile();
    EXPECT_TRUE(IniText().contains("T=Ia|"));
}

// A template made on one record applies to another whose channel names differ only in their
// bracketed parts, as the channel dialog wires the frame: it keeps the cut names of the visible
// items and shows the items the names match.
TEST_F(TemplateListFrameTest, ATemplateFromOneRecordShowsTheSameChannelsOfAnother) {
    MakeFrame();
    const QStringList first = {"Ia (ВЛ-220)", "Ib (ВЛ-220)", "Ic (ВЛ-220)"};
    for (const QString& item : {first[0], first[2]}) {
        visible_.push_back(CutBrackets(item));
    }
    NameTemplate("Линия");
    Click(frame_->btnAdd());

    MakeFrame();
    const QStringList second = {"Ic (ВЛ-110)", "(резерв)", "Ia (ВЛ-110)", "Ib (ВЛ-110)",
                                "Ia (ВЛ-110)"};
    ClickItem(0);
    Click(frame_->btnApply());
    ASSERT_EQ(applied_.size(), 1U);
    EXPECT_EQ(MatchTemplateNames(second, applied_[0]),
              std::vector<bool>({true, true, true, false, false}));
}

}  // namespace
}  // namespace faultscope
