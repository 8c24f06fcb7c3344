#include "core/session/record_session.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/record/load_error.h"
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

// The demo record in `dir` with a view template of `lyt`.
void WriteDemoWithTemplate(const QTemporaryDir& dir, const QString& lyt) {
    for (const char* ext : {".cfg", ".dat"}) {
        ASSERT_TRUE(QFile::copy(
            QString::fromStdString(
                (test::SourceDir() / "examples" / (std::string("demo") + ext)).string()),
            dir.filePath("demo") + ext));
    }
    QFile file(dir.filePath("demo.lyt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lyt.toUtf8());
}

TEST(RecordSession, MakesTheTemplatesFormulaChannelsAndTellsWhatCannotBeMade) {
    QTemporaryDir dir;
    ASSERT_NO_FATAL_FAILURE(WriteDemoWithTemplate(
        dir, QStringLiteral("[ChartCreate]\nChart_I0=I0\nChart_Lost=Lost\n"
                            "[I0]\nSourceChartName=IA ВЛ-110,IB ВЛ-110,IC ВЛ-110\n"
                            "ChartInfoStr=I0@(S1+S2+S3)/3@@\n"
                            "[Lost]\nSourceChartName=Nope\nChartInfoStr=Lost@S1@@\n")));

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

TEST(RecordSession, TemplateChannelsAreAnalysedWhenAskedAndMadeOnlyWhenAllFit) {
    QTemporaryDir dir;
    ASSERT_NO_FATAL_FAILURE(WriteDemoWithTemplate(
        dir, QStringLiteral("[ChartCreate]\nChart_I0=I0\nChart_J=J\n"
                            "[I0]\nSourceChartName=IA ВЛ-110,IB ВЛ-110,IC ВЛ-110\n"
                            "ChartInfoStr=I0@(S1+S2+S3)/3@@\n"
                            "[J]\nSourceChartName=I0\nChartInfoStr=J@D1*2@ANGLE1@\n")));
    const QByteArray lyt = [&] {
        QFile file(dir.filePath("demo.lyt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    std::vector<QString> told;
    MessageCallback say(
        [&](MessageIcon, const QString&, const QString& text) { told.push_back(text); });

    // Two channels of 1000 samples, one with angles: 24 000 bytes.
    RecordSession refused;
    refused.Load(dir.filePath("demo.cfg"), {});
    refused.OpenTemplate(say);
    refused.Template()->SetMemoryBudget(23999);
    std::vector<std::size_t> progress;
    refused.MakeSavedFormulaChannels(
        [&](std::size_t done, std::size_t) { progress.push_back(done); });
    EXPECT_EQ(refused.FormulaChannels().size(), 0u);
    EXPECT_TRUE(progress.empty());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].startsWith("Недостаточно памяти: формульным каналам шаблона нужно около"))
        << told[0].toStdString();

    told.clear();
    RecordSession session;
    session.Load(dir.filePath("demo.cfg"), {});
    session.OpenTemplate(say);
    session.Template()->SetMemoryBudget(24000);
    session.MakeSavedFormulaChannels([&](std::size_t done, std::size_t total) {
        progress.push_back(done);
        EXPECT_EQ(total, 2u);
    });
    EXPECT_TRUE(told.empty()) << told.front().toStdString();
    EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1, 2}));
    ASSERT_EQ(session.FormulaChannels().size(), 2u);
    const AnalogColumns& i0 = session.FormulaChannels()[0].columns;
    const AnalogColumns& j = session.FormulaChannels()[1].columns;
    // Only what a formula read was analysed: the fundamental of J's source.
    EXPECT_EQ(i0.fundamental.size(), i0.size());
    EXPECT_TRUE(i0.harmonics.rms1.empty());
    EXPECT_TRUE(j.harmonics.rms1.empty() && j.fundamental.size() == 0);
    // Its value, and a gap flag since some of its samples are out of range.
    EXPECT_LE(i0.SampleBytes(), i0.size() * (sizeof(double) + 1));

    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Drawing),
              RecordSession::AnalysisResult::Analysed);
    EXPECT_EQ(i0.harmonics.rms1.size(), i0.size());
    EXPECT_EQ(j.harmonics.rms1.size(), j.size());
    // J's angle curve is its angle formula's.
    ASSERT_EQ(j.formulaAngle.size(), j.size());
    for (std::size_t i : {0u, 500u, 999u}) {
        EXPECT_EQ(j.harmonics.angle[i], DrawingValue(j.formulaAngle[i])) << i;
    }
    EXPECT_EQ(session.AnalyseMissing(HarmonicPart::Drawing),
              RecordSession::AnalysisResult::NothingMissing);

    // A cancel while the channels are made stops before the next one and keeps the file.
    RecordSession cancelled;
    cancelled.Load(dir.filePath("demo.cfg"), {});
    cancelled.OpenTemplate(say);
    EXPECT_THROW(cancelled.MakeSavedFormulaChannels([&](std::size_t done, std::size_t) {
        if (done == 1) {
            cancelled.Cancel();
        }
    }),
                 LoadCancelled);
    EXPECT_EQ(cancelled.FormulaChannels().size(), 1u);
    QFile file(dir.filePath("demo.lyt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), lyt);
}

}  // namespace
}  // namespace faultscope
