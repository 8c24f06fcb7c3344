#include "core/session/record_session.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "large_record.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

QString Demo() {
    return QString::fromStdString((test::SourceDir() / "examples" / "demo.cfg").string());
}

std::size_t CountAnalysed(const LoadedRecord& record, HarmonicPart part) {
    std::size_t n = 0;
    for (const AnalogColumns& ch : record.data.analog) {
        n += HasHarmonicPart(ch, part) ? 1 : 0;
    }
    return n;
}

TEST(RecordSession, AnEmptySessionHasNoCursorAndNothingToAnalyse) {
    RecordSession session;
    EXPECT_EQ(session.CursorSample(), -1);
    EXPECT_EQ(session.SetCursorSample(5), -1);
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Drawing),
              RecordSession::AnalysisResult::NothingMissing);
    session.MakeSavedFormulaChannels();
    EXPECT_EQ(session.Template(), nullptr);
    EXPECT_EQ(session.FormulaChannels().size(), 0u);
}

TEST(RecordSession, TheCursorStartsAtTheTriggerAndStaysInsideTheRecord) {
    RecordSession session;
    session.Load(Demo(), {});
    const auto last = static_cast<std::ptrdiff_t>(session.Record().data.xMs.size()) - 1;
    ASSERT_GT(last, 0);
    EXPECT_EQ(session.CursorSample(), session.Record().cursor);
    EXPECT_EQ(session.Record().data.xMs[static_cast<std::size_t>(session.CursorSample())], 0.0);
    const struct {
        std::ptrdiff_t asked;
        std::ptrdiff_t expected;
    } cases[] = {{-7, 0}, {0, 0}, {12, 12}, {last, last}, {last + 1000, last}};
    for (const auto& c : cases) {
        EXPECT_EQ(session.SetCursorSample(c.asked), c.expected) << c.asked;
        EXPECT_EQ(session.CursorSample(), c.expected) << c.asked;
    }
}

TEST(RecordSession, AnalysesOnDemandOnlyWhatIsMissingAndOnlyTheChannelsAsked) {
    RecordSession session;
    session.Load(Demo(), {});
    const std::size_t channels = session.Record().data.analog.size();
    ASSERT_EQ(CountAnalysed(session.Record(), HarmonicPart::Fundamental), 0u);

    const std::vector<std::size_t> two = {3, 1, 3};
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Fundamental, two),
              RecordSession::AnalysisResult::Analysed);
    EXPECT_EQ(CountAnalysed(session.Record(), HarmonicPart::Fundamental), 2u);
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Fundamental, two),
              RecordSession::AnalysisResult::NothingMissing);

    std::size_t started = 0;
    int finished = 0;
    session.SetAnalysisFeedback({[&](std::size_t n) { started = n; }, {}, [&] { ++finished; }});
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Fundamental),
              RecordSession::AnalysisResult::Analysed);
    EXPECT_EQ(started, channels - 2);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(CountAnalysed(session.Record(), HarmonicPart::Fundamental), channels);
    EXPECT_FALSE(session.Analysing());
}

TEST(RecordSession, ACancelledAnalysisKeepsNothingAndTheNextOneRuns) {
    // Long enough that the workers are still busy when the calling thread first polls.
    QTemporaryDir dir;
    const QString base = dir.filePath("long");
    ASSERT_TRUE(tools::WriteLargeRecord(base, 100000));
    RecordSession session;
    session.Load(base + ".cfg", {});
    int finished = 0;
    session.SetAnalysisFeedback({{}, [&](std::size_t) { session.Cancel(); }, [&] { ++finished; }});
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Drawing),
              RecordSession::AnalysisResult::Cancelled);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(session.Analysing());
    EXPECT_EQ(CountAnalysed(session.Record(), HarmonicPart::Drawing), 0u);

    session.SetAnalysisFeedback({});
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Drawing),
              RecordSession::AnalysisResult::Analysed);
    EXPECT_EQ(CountAnalysed(session.Record(), HarmonicPart::Drawing),
              session.Record().data.analog.size());
}

TEST(RecordSession, MakesTheTemplatesFormulaChannelsAndTellsWhatCannotBeMade) {
    QTemporaryDir dir;
    for (const char* ext : {".cfg", ".dat"}) {
        ASSERT_TRUE(QFile::copy(
            QString::fromStdString(
                (test::SourceDir() / "examples" / (std::string("demo") + ext)).string()),
            dir.filePath("demo") + ext));
    }
    QFile lyt(dir.filePath("demo.lyt"));
    ASSERT_TRUE(lyt.open(QIODevice::WriteOnly));
    lyt.write(QStringLiteral("[ChartCreate]\nChart_I0=I0\nChart_Lost=Lost\n"
                             "[I0]\nSourceChartName=IA ВЛ-110,IB ВЛ-110,IC ВЛ-110\n"
                             "ChartInfoStr=I0@(S1+S2+S3)/3@@\n"
                             "[Lost]\nSourceChartName=Nope\nChartInfoStr=Lost@S1@@\n")
                  .toUtf8());
    lyt.close();

    RecordSession session;
    session.Load(dir.filePath("demo.cfg"), {});
    std::vector<QString> told;
    MessageCallback say(
        [&](MessageIcon, const QString&, const QString& text) { told.push_back(text); });
    session.OpenTemplate(say);
    ASSERT_NE(session.Template(), nullptr);
    EXPECT_EQ(session.FormulaChannels().size(), 0u) << "made only when asked";

    session.MakeSavedFormulaChannels();
    ASSERT_EQ(session.FormulaChannels().size(), 1u);
    const FormulaChannelColumns& i0 = session.FormulaChannels()[0];
    EXPECT_EQ(i0.info.ch_id, "I0");
    EXPECT_EQ(i0.columns.size(), session.Record().data.xMs.size());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], QStringLiteral("Графика с именем Nope нет в открытой осцилограмме."));
    // The host finds the new channel after the recorded ones.
    EXPECT_EQ(session.FormulaHost().ChannelCount(), session.Record().cfg.analog.size() + 1);
}

}  // namespace
}  // namespace faultscope
