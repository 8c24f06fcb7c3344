#include "core/viewtemplate/view_template.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cmath>

#include "core/formula/formula_channel.h"
#include "core/session/record_formula_host.h"
#include "core/settings/ini_store.h"
#include "core/viewtemplate/channel_view_list.h"
#include "core/viewtemplate/make_formula_channel.h"
#include "core/viewtemplate/make_sequence_channels.h"
#include "core/viewtemplate/template_file.h"
#include "core/viewtemplate/view_sections.h"
#include "support/read_only_folder.h"

namespace faultscope {
namespace {

constexpr std::size_t kSamples = 200;

class FakeViews : public ChannelViewList {
  public:
    struct Strip {
        QString name;
        bool visible = true;
        bool exists = true;
    };
    std::vector<Strip> strips;

    std::size_t Count() const override { return strips.size(); }
    bool HasStrip(std::size_t i) const override { return strips[i].exists; }
    QString ChannelName(std::size_t i) const override { return strips[i].name; }
    bool Visible(std::size_t i) const override { return strips[i].visible; }
    void SetVisibility(const std::vector<bool>& visible) override {
        for (std::size_t i = 0; i < strips.size(); ++i) {
            strips[i].visible = visible[i];
        }
    }
    void Set(const QString& name, bool visible) {
        for (Strip& s : strips) {
            if (s.name == name) {
                s.visible = visible;
            }
        }
    }
    QStringList Shown() const {
        QStringList names;
        for (const Strip& s : strips) {
            if (s.exists && s.visible) {
                names.push_back(s.name);
            }
        }
        return names;
    }
};

AnalogChannel Channel(std::uint32_t an, const char* id, const char* uu) {
    AnalogChannel info;
    info.An = an;
    info.ch_id = id;
    info.ph = "A";
    info.uu = uu;
    info.a = 0.5;
    info.min = -32767;
    info.max = 32767;
    info.PS = TPS::S;
    return info;
}

// A record of four analog channels (three phase currents and a voltage) and two discrete ones,
// with the harmonic analysis of a real load, and engines opened over it as a window does.
class ViewTemplateTest : public ::testing::Test {
  protected:
    ViewTemplateTest() {
        record_.files.fileName = QDir(dir_.path()).filePath("fault01");
        record_.cfg.freq = 50;
        record_.cfg.analog = {Channel(1, "Ia", "A"), Channel(2, "Ib", "A"), Channel(3, "Ic", "A"),
                              Channel(4, "Ua", "kV")};
        for (std::size_t i = 0; i < kSamples; ++i) {
            record_.data.timeUs.push_back(static_cast<std::int32_t>(i * 1000));
            record_.data.xMs.push_back(static_cast<double>(i));
        }
        for (std::size_t c = 0; c < 4; ++c) {
            std::vector<double> values;
            for (std::size_t i = 0; i < kSamples; ++i) {
                const double phase = 2 * M_PI * (50.0 * i / 1000.0 - c / 3.0);
                values.push_back(100.0 * (c + 1) * std::sin(phase) + 7 * c);
            }
            record_.data.analog.push_back(AnalogColumns::FromValues(values));
        }
    }

    struct Opened {
        FormulaChannelStore store;
        std::unique_ptr<RecordFormulaHost> host;
        FakeViews analog;
        FakeViews digital;
        std::unique_ptr<ViewTemplate> engine;
    };

    // Opens the record's template as the window does when the record is opened.
    std::unique_ptr<Opened> OpenRecord() {
        auto open = std::make_unique<Opened>();
        for (const AnalogChannel& a : record_.cfg.analog) {
            open->analog.strips.push_back({QString::fromStdString(a.ch_id)});
        }
        open->digital.strips = {{"Q1"}, {"[spare]", false, false}, {"Q2"}};
        open->host = std::make_unique<RecordFormulaHost>(record_, open->store, dir_.path());
        FakeViews* analog = &open->analog;
        open->host->SetHooks(
            [analog](const AnalogChannel& info, AnalogColumns&) {
                analog->strips.push_back({QString::fromStdString(info.ch_id)});
            },
            {});
        open->engine = std::make_unique<ViewTemplate>(record_.files.fileName);
        open->engine->SetAnalogViews(&open->analog);
        open->engine->SetDiscreteViews(&open->digital);
        open->engine->SetAddNewCht(open->host.get());
        open->engine->SetMessages(&say_);
        open->engine->CheckWritable();
        open->engine->CreateSavedChart();
        open->engine->LoadAnalogChannelView();
        open->engine->LoadDiscreteChannelView();
        return open;
    }

    // Builds a formula channel as the formula dialog does: five sourceSlots, compute, then save.
    bool CreateAsTheDialog(Opened& open, const char* name, const QStringList& sources,
                           const char* value, const char* angle = "") {
        std::vector<FormulaSlot> sourceSlots;
        for (const QString& source : sources) {
            sourceSlots.push_back(open.host->FindChartByName(source.toStdString()));
        }
        FormulaProgram inp;
        inp.SetOnGetValue([&sourceSlots](const FormulaProgram* sender, std::string_view id,
                                         Variant& v, const FormulaArguments& args, bool& done) {
            CalcValue(sourceSlots, sender, id, v, args, done);
        });
        const AnalogChannel info =
            FormulaChannelInfo(*sourceSlots.front().info, name,
                               static_cast<std::uint32_t>(open.host->ChannelCount() + 1));
        if (!MakeFormulaChannel(info, inp, value, angle, *open.host, say_)) {
            return false;
        }
        open.engine->SaveCreateChart(sources, info, value, angle);
        open.engine->SaveAnalogChannelView();
        return true;
    }

    QByteArray FileBytes() const {
        QFile file(record_.files.fileName + ".lyt");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteFile(const QByteArray& bytes) const {
        QFile file(record_.files.fileName + ".lyt");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    double Mean3(std::size_t i) const {
        const auto& a = record_.data.analog;
        return (a[0].Value(i) + a[1].Value(i) + a[2].Value(i)) / 3;
    }

    QTemporaryDir dir_;
    LoadedRecord record_;
    std::vector<QString> messages_;
    MessageCallback say_{
        [this](MessageIcon, const QString&, const QString& text) { messages_.push_back(text); }};
};

TEST_F(ViewTemplateTest, AZeroSequenceChannelIsSavedInTheDocumentedOrderAndComesBack) {
    {
        auto open = OpenRecord();
        EXPECT_TRUE(FileBytes().isEmpty()) << "nothing is written before the user changes a view";
        open->analog.Set("Ic", false);
        open->engine->SaveAnalogChannelView();
        open->digital.Set("Q2", false);
        open->engine->SaveDiscreteChannelView();
        ASSERT_TRUE(
            CreateAsTheDialog(*open, "I0", {"Ia", "Ib", "Ic", "Ia", "Ia"}, " (S1+S2+S3)/3 "));
        const AnalogColumns& i0 = open->store[0].columns;
        for (std::size_t i : {0u, 5u, 17u, 199u}) {
            EXPECT_NEAR(i0.Value(i), Mean3(i), 1e-9) << i;
        }
        // A formula channel costs what a recorded one does: its analysis waits until asked for.
        EXPECT_TRUE(i0.harmonics.rms1.empty());
        EXPECT_LE(i0.SampleBytes(), kSamples * sizeof(double));
    }
    EXPECT_EQ(QString::fromLatin1(FileBytes()),
              "[DView]\nQ1=1\n\n"
              "[ChartCreate]\nChart_I0=I0\n\n"
              "[I0]\nSourceChartName=Ia,Ib,Ic,Ia,Ia\nChartInfoStr=I0@(S1+S2+S3)/3@@\n"
              "ph=\nccbm=\nuu=A\na=1\nb=0\nskew=0\nmin=-32767\nmax=32767\nprimary=1\n"
              "secondory=1\nPS=1\nReservChanel=0\n\n"
              "[AView]\nIa=1\nIb=1\nUa=1\nI0=1\n");

    auto again = OpenRecord();
    EXPECT_TRUE(messages_.empty());
    ASSERT_EQ(again->store.size(), 1u);
    const FormulaChannelColumns& i0 = again->store[0];
    EXPECT_EQ(i0.info.ch_id, "I0");
    EXPECT_EQ(i0.info.An, 5u);
    for (std::size_t i = 0; i < kSamples; ++i) {
        ASSERT_DOUBLE_EQ(i0.columns.Value(i), Mean3(i)) << i;
    }
    EXPECT_EQ(again->analog.Shown(), QStringList({"Ia", "Ib", "Ua", "I0"}));
    EXPECT_EQ(again->digital.Shown(), QStringList({"Q1"}));
}

TEST_F(ViewTemplateTest, AFormulaChannelCanBuildOnAnEarlierOneAndKeepsItsAngleFormula) {
    {
        auto open = OpenRecord();
        ASSERT_TRUE(CreateAsTheDialog(*open, "I0", {"Ia", "Ib", "Ic"}, "(S1+S2+S3)/3"));
        ASSERT_TRUE(CreateAsTheDialog(*open, "3I0", {"I0"}, "S1*3", "ANGLE1"));
    }
    auto again = OpenRecord();
    ASSERT_EQ(again->store.size(), 2u);
    const AnalogColumns& i0 = again->store[0].columns;
    const AnalogColumns& i3 = again->store[1].columns;
    EXPECT_DOUBLE_EQ(i3.Value(42), 3 * i0.Value(42));
    EXPECT_EQ(i3.harmonics.angle, i0.harmonics.angle);
}

TEST_F(ViewTemplateTest, TheFaultLocationsLineDataAreKeptInTheirSectionBesideUnknownOnes) {
    WriteFile("[Unknown]\r\nKey=1\r\n");
    FaultLocationSettings line;
    line.line = {{{0.12, 0.4}, {0.3, 1.2}}, 52.5};
    line.voltages = {"Ua", "Ub", "Uc"};
    line.currents = {"Ia", "Ib", "Ic"};
    {
        auto open = OpenRecord();
        EXPECT_FALSE(open->engine->FaultLocation());
        open->engine->SaveFaultLocation(line);
    }
    const QByteArray bytes = FileBytes();
    EXPECT_TRUE(bytes.contains("[Unknown]\nKey=1\n")) << bytes.toStdString();
    EXPECT_TRUE(
        bytes.contains("[FaultLocation]\nR1=0.12\nX1=0.4\nR0=0.3\nX0=1.2\n"
                       "LengthKm=52.5\nVoltages=Ua,Ub,Uc\nCurrents=Ia,Ib,Ic\n"))
        << bytes.toStdString();
    EXPECT_EQ(OpenRecord()->engine->FaultLocation(), line);
}

TEST_F(ViewTemplateTest, SequenceStripsAreFormulaChannelsThatComeBackAndTakeNoNameTwice) {
    record_.cfg.analog[0].ccbm = "L1";
    {
        auto open = OpenRecord();
        const QStringList made =
            MakeSequenceChannels(*open->engine, *open->host, record_.cfg, PhaseTriple{{0, 1, 2}});
        EXPECT_EQ(made, QStringList({"I1", "I2", "3I0"}));
        EXPECT_EQ(
            MakeSequenceChannels(*open->engine, *open->host, record_.cfg, PhaseTriple{{0, 1, 2}}),
            QStringList({"I1 L1", "I2 L1", "3I0 L1"}));
    }
    EXPECT_TRUE(messages_.empty());
    auto reopened = OpenRecord();
    ASSERT_EQ(reopened->store.size(), 6u);
    EXPECT_EQ(reopened->store[2].info.ch_id, "3I0");
    // 3I0 of the phases: three times their mean's fundamental, at the phase A channel's unit.
    const FormulaSlot zero = reopened->host->FindChartByName("3I0");
    EXPECT_EQ(zero.info->uu, "A");
    const std::size_t i = 150;
    const AnalogColumns& a = record_.data.analog[0];
    EXPECT_FALSE(a.fundamental.rms.empty());
    const std::array<Phasor, 3> phases = {
        std::polar(a.fundamental.rms[i], a.fundamental.angle[i] * M_PI / 180),
        std::polar(record_.data.analog[1].fundamental.rms[i],
                   record_.data.analog[1].fundamental.angle[i] * M_PI / 180),
        std::polar(record_.data.analog[2].fundamental.rms[i],
                   record_.data.analog[2].fundamental.angle[i] * M_PI / 180)};
    EXPECT_NEAR(zero.columns->Value(i), std::abs(phases[0] + phases[1] + phases[2]), 1e-9);
}

TEST_F(ViewTemplateTest, ABrokenFileOpensWhatItCanAndLosesNothing) {
    QStringEncoder cp1251("windows-1251");
    WriteFile(cp1251.encode(
        QStringLiteral("[Extra]\nkeep=me\n"
                       "[ChartCreate]\nChart_Broken=Broken\nChart_Lost=Lost\nChart_Ток0=Ток0\n"
                       "[Lost]\nSourceChartName=Ia,Iz\nChartInfoStr=Lost@S1@@\n"
                       "[Ток0]\nSourceChartName=Ia,Ib\nChartInfoStr=Ток0@S1-S2@@\na=0,5\nmin=-100\n"
                       "max=100\nprimary=0,1\nPS=1\n")));
    auto open = OpenRecord();
    EXPECT_EQ(messages_,
              std::vector<QString>({"График Chart_Broken не создан",
                                    "Графика с именем Iz нет в открытой осцилограмме."}));
    ASSERT_EQ(open->store.size(), 1u);
    const FormulaChannelColumns& made = open->store[0];
    EXPECT_EQ(QString::fromStdString(made.info.ch_id), "Ток0");
    EXPECT_DOUBLE_EQ(made.info.a, 0.5);
    EXPECT_DOUBLE_EQ(made.info.primary, 0.1);
    EXPECT_EQ(made.info.PS, TPS::S);
    const auto& a = record_.data.analog;
    for (std::size_t i = 0; i < kSamples; ++i) {
        const double v = a[0].Value(i) - a[1].Value(i);
        ASSERT_EQ(made.columns.Gap(i), v < -100 || v > 100) << i;
    }

    open->analog.Set("Ua", false);
    open->engine->SaveAnalogChannelView();
    const IniStore reread(record_.files.fileName + ".lyt");
    EXPECT_EQ(reread.ReadString("Extra", "keep"), "me");
    EXPECT_EQ(reread.ReadString("Lost", "ChartInfoStr"), "Lost@S1@@");
    EXPECT_EQ(reread.ReadSection("ChartCreate").size(), 3);
    EXPECT_EQ(reread.ReadString("Ток0", "a"), "0,5");
    EXPECT_TRUE(reread.ValueExists("AView", "Ток0"));
}

TEST_F(ViewTemplateTest, CyrillicNamesAreWrittenInWindows1251AndReadFromEitherEncoding) {
    {
        auto open = OpenRecord();
        ASSERT_TRUE(CreateAsTheDialog(*open, "Ток нулевой", {"Ia", "Ib", "Ic"}, "S1+S2+S3"));
    }
    const QByteArray bytes = FileBytes();
    QStringEncoder cp1251("windows-1251");
    EXPECT_TRUE(bytes.contains(QByteArray(cp1251.encode(u"[Ток нулевой]"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Ток").toUtf8()));

    // The same file as another program may have written it, in UTF-8.
    QStringDecoder back("windows-1251");
    const QString text = back.decode(bytes);
    WriteFile(text.toUtf8());
    auto again = OpenRecord();
    ASSERT_EQ(again->store.size(), 1u);
    EXPECT_EQ(QString::fromStdString(again->store[0].info.ch_id), "Ток нулевой");

    // A name the code page cannot hold keeps the whole file in UTF-8, so nothing is lost.
    ASSERT_TRUE(CreateAsTheDialog(*again, "ΔI", {"Ia", "Ib"}, "S1-S2"));
    auto third = OpenRecord();
    ASSERT_EQ(third->store.size(), 2u);
    EXPECT_EQ(QString::fromStdString(third->store[1].info.ch_id), "ΔI");
}

TEST_F(ViewTemplateTest, ViewSectionsStoreNamesAsKeysThatReadBack) {
    FakeViews views;
    views.strips = {{" Ia "}, {"U=AB"}, {"[reserve]"}, {"Ib"}, {"gone", true, false}};
    IniStore ini(QDir(dir_.path()).filePath("v.lyt"));
    views.Set("Ib", false);
    SaveChannelView(&ini, "AView", VisibleChannelKeys(&views));
    EXPECT_EQ(ini.ReadSection("AView"), QStringList({"Ia", "U%3DAB", "%5Breserve]"}));

    for (auto& s : views.strips) {
        s.visible = !s.visible;
    }
    LoadChannelView(&ini, "AView", &views);
    EXPECT_EQ(views.Shown(), QStringList({" Ia ", "U=AB", "[reserve]"}));

    // Hiding everything leaves no section, and a missing section changes nothing.
    for (auto& s : views.strips) {
        s.visible = false;
    }
    SaveChannelView(&ini, "AView", VisibleChannelKeys(&views));
    EXPECT_FALSE(ini.SectionExists("AView"));
    LoadChannelView(&ini, "AView", &views);
    EXPECT_TRUE(views.Shown().isEmpty());

    EXPECT_THROW(SaveChannelView(nullptr, "AView", {}), std::invalid_argument);
    EXPECT_THROW(LoadChannelView(QStringList{"Ia"}, nullptr), std::invalid_argument);
    EXPECT_THROW(VisibleChannelKeys(nullptr), std::invalid_argument);
    EXPECT_THROW(ViewTemplate{QString()}, std::invalid_argument);
}

TEST_F(ViewTemplateTest, AReadOnlyFolderWarnsOnceAndKeepsTheViewInMemory) {
    std::unique_ptr<Opened> open;
    {
        test::ReadOnlyFolder readOnly(dir_.path());
        open = OpenRecord();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0], ReadOnlyTemplateWarning(record_.files.fileName + ".lyt"));
        EXPECT_FALSE(open->engine->CanSave());
        ASSERT_TRUE(CreateAsTheDialog(*open, "I0", {"Ia", "Ib", "Ic"}, "(S1+S2+S3)/3"));
        open->engine->SaveDiscreteChannelView();
    }
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(QFile::exists(record_.files.fileName + ".lyt"));
    EXPECT_TRUE(open->engine->Ini().SectionExists("I0"));
}

TEST_F(ViewTemplateTest, ATemplateThatIsNoPlainFileIsNeitherReadNorWrittenAndSaidOnce) {
    const QString elsewhere = QDir(dir_.path()).filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QString victim = QDir(elsewhere).filePath("autostart.desktop");
    const QByteArray victimText = "[Desktop Entry]\nExec=true\n";
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(victimText);
    }
    const QString absent = QDir(elsewhere).filePath("absent.lyt");
    const auto big = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) &&
               file.resize(static_cast<qint64>(IniStore::kMaxFileBytes) + 1);
    };
    const struct {
        const char* name;
        std::function<bool(const QString& lyt)> make;
    } cases[] = {
        {"a link to a file elsewhere",
         [&](const QString& lyt) { return QFile::link(victim, lyt); }},
        {"a link that leads nowhere", [&](const QString& lyt) { return QFile::link(absent, lyt); }},
        {"a pipe",
         [](const QString& lyt) { return ::mkfifo(lyt.toLocal8Bit().constData(), 0600) == 0; }},
        {"a folder", [](const QString& lyt) { return QDir().mkdir(lyt); }},
        {"a file too large", big},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        record_.files.fileName = QDir(dir_.path()).filePath(QStringLiteral("case%1").arg(++n));
        const QString lyt = record_.files.fileName + ".lyt";
        ASSERT_TRUE(c.make(lyt));
        messages_.clear();
        const std::unique_ptr<Opened> open = OpenRecord();
        EXPECT_EQ(messages_, std::vector<QString>({UnusableTemplateWarning(lyt)}));
        EXPECT_FALSE(open->engine->CanSave());
        EXPECT_TRUE(open->engine->Ini().ReadSections().isEmpty());
        // Changes live on in memory and are written nowhere.
        ASSERT_TRUE(CreateAsTheDialog(*open, "I0", {"Ia", "Ib", "Ic"}, "(S1+S2+S3)/3"));
        open->engine->SaveDiscreteChannelView();
        EXPECT_TRUE(open->engine->Ini().SectionExists("I0"));
        EXPECT_EQ(messages_.size(), 1u);
    }
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), victimText);
    EXPECT_FALSE(QFileInfo::exists(absent));
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList({"autostart.desktop"}));
}

TEST_F(ViewTemplateTest, ALinkPutInTheTemplatesPlaceWhileOpenIsNotWrittenThrough) {
    const std::unique_ptr<Opened> open = OpenRecord();
    ASSERT_TRUE(open->engine->CanSave());
    const QString lyt = open->engine->IniFileName();
    const QString target = QDir(dir_.path()).filePath("target.txt");
    QFile::remove(lyt);
    ASSERT_TRUE(QFile::link(target, lyt));
    ASSERT_TRUE(CreateAsTheDialog(*open, "I0", {"Ia", "Ib", "Ic"}, "(S1+S2+S3)/3"));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(messages_, std::vector<QString>({UnusableTemplateWarning(lyt)}));
}

TEST(TemplateFilePathTest, TheExtensionFollowsTheRecordsLetterCase) {
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath("X");
    EXPECT_EQ(TemplateFilePath(base, "cfg"), base + ".lyt");
    EXPECT_EQ(TemplateFilePath(base, "CFG"), base + ".LYT");
    QFile(base + ".LYT").open(QIODevice::WriteOnly);
    EXPECT_EQ(TemplateFilePath(base, "cfg"), base + ".LYT");
    EXPECT_EQ(TemplateFilePath(base + ".LYT", "cfg"), base + ".LYT.lyt");
    QFile(base + ".lyt").open(QIODevice::WriteOnly);
    EXPECT_EQ(TemplateFilePath(base + ".lyt", "cfg"), base + ".lyt");
}

}  // namespace
}  // namespace faultscope
