// Finding a channel in a record window: Ctrl+F, a part of the name, Enter or F3 from one strip
// to the next, a word when nothing matches, Esc.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/widgets/channel_search_bar.h"
#include "support/main_window_fixture.h"

namespace faultscope {
namespace {

class ChannelSearchTest : public test::MainWindowFixture {
  protected:
    QString RecordToOpen() const override { return test::DemoRecord(); }

    [[nodiscard]] ChannelSearchBar* Bar() const { return window_->SearchBar(); }

    void OpenSearch() {
        QTest::keyClick(doc_->AnalogStrips()->DisplayList()[0]->Cht(), Qt::Key_F,
                        Qt::ControlModifier);
        QApplication::processEvents();
    }
    // Types `text` into the search field in place of what it holds, one character at a time.
    void Type(const QString& text) {
        Bar()->Field()->clear();
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, Bar()->Field(), Qt::Key_unknown, QString(c), {});
        }
    }
    void Press(Qt::Key key) {
        QTest::keyClick(Bar()->Field(), key);
        QApplication::processEvents();
    }

    // The highlighted strips' names; a strip is only counted when it shows whole in its list.
    [[nodiscard]] QStringList Highlighted() const {
        QStringList names;
        const auto add = [&names](const auto* list) {
            for (const auto* strip : list->DisplayList()) {
                if (!strip->Highlighted()) {
                    continue;
                }
                const QRect inView(strip->mapTo(list->viewport(), QPoint(0, 0)), strip->size());
                names << QString::fromStdString(strip->Info().ch_id) +
                             (list->viewport()->rect().contains(inView) ? "" : " (out of view)");
            }
        };
        add(doc_->AnalogStrips());
        add(doc_->DiscreteStrips());
        return names;
    }
};

TEST_F(ChannelSearchTest, EnterAndF3GoFromOneMatchingStripToTheNext) {
    EXPECT_FALSE(Bar()->isVisible());
    OpenSearch();
    ASSERT_TRUE(Bar()->isVisible());
    EXPECT_TRUE(Bar()->Field()->hasFocus());
    const struct {
        const char* typed;  // nothing: the text stays
        Qt::Key key;
        const char* found;
    } steps[] = {
        {"сш-110", Qt::Key_Return, "UA СШ-110"},  // below the analog panel's first strips
        {nullptr, Qt::Key_Return, "UB СШ-110"},
        {nullptr, Qt::Key_F3, "UC СШ-110"},
        {nullptr, Qt::Key_Enter, "3U0 СШ-110"},
        {nullptr, Qt::Key_Return, "UA СШ-110"},  // round to the first again
        {"пуск", Qt::Key_Return, "Пуск ДЗ"},     // on from there, into the discrete strips
        {nullptr, Qt::Key_Return, "Пуск ТЗНП"},
        {nullptr, Qt::Key_Return, "Пуск ОАПВ"},
        {"ia вл", Qt::Key_Return, "IA ВЛ-110"},
    };
    for (const auto& step : steps) {
        if (step.typed != nullptr) {
            Type(QString::fromUtf8(step.typed));
        }
        Press(step.key);
        EXPECT_EQ(Highlighted(), QStringList(QString::fromUtf8(step.found))) << step.found;
        EXPECT_TRUE(Bar()->Status()->text().isEmpty()) << step.found;
    }

    // Esc closes the bar and takes the highlight off.
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_TRUE(Highlighted().isEmpty());
}

TEST_F(ChannelSearchTest, ATextNoChannelHasSaysSo) {
    OpenSearch();
    const QColor normal = Bar()->Field()->palette().color(QPalette::Base);
    Type("пуск");
    Press(Qt::Key_Return);
    ASSERT_EQ(Highlighted().size(), 1);

    Type("пускк");
    Press(Qt::Key_Return);
    EXPECT_TRUE(Highlighted().isEmpty());
    EXPECT_EQ(Bar()->Status()->text(), "Канал не найден");
    EXPECT_TRUE(Bar()->Status()->isVisible());
    const QColor pale = Bar()->Field()->palette().color(QPalette::Base);
    EXPECT_NE(pale, normal);
    EXPECT_GT(pale.red(), pale.green());

    // Mending the text takes the warning away until the next search.
    Type("пуск");
    EXPECT_EQ(Bar()->Field()->palette().color(QPalette::Base), normal);
    EXPECT_TRUE(Bar()->Status()->text().isEmpty());
}

TEST_F(ChannelSearchTest, TheHighlightShowsOnTheStripsName) {
    OpenSearch();
    AnalogStrip* analog = doc_->AnalogStrips()->DisplayList()[1];
    const QPoint caption(20, 15);  // inside the caption box, beside its text
    const QRgb before = analog->Cht()->grab().toImage().pixel(caption);
    Type("IB");
    Press(Qt::Key_Return);
    ASSERT_TRUE(analog->Highlighted());
    const QColor selection = analog->palette().color(QPalette::Highlight);
    EXPECT_EQ(QColor(analog->Cht()->grab().toImage().pixel(caption)), selection);

    DiscreteStrip* discrete = doc_->DiscreteStrips()->DisplayList()[0];
    Type("пуск дз");
    Press(Qt::Key_Return);
    EXPECT_FALSE(analog->Highlighted());
    EXPECT_EQ(analog->Cht()->grab().toImage().pixel(caption), before);
    const QImage name = discrete->Cht()->grab().toImage();
    EXPECT_EQ(QColor(name.pixel(name.width() / 10, name.height() - 2)), selection);
}

}  // namespace
}  // namespace faultscope
