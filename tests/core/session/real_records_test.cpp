// Every record of the shared samples either loads with the values its files hold or is refused
// with exactly the message a user is shown.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/record/load_error.h"
#include "core/record/nearest_sample.h"
#include "core/session/record_loader.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

struct Accepted {
    const char* file;
    TextEncoding encoding;
    const char* station;
    std::size_t samples;
    std::size_t analog;
    double firstValue;  // channel 1, sample 0, as stored (scaled, or raw for a gap)
    bool firstIsGap;
};

const Accepted kAccepted[] = {
    {"commander-apemanx__Comtrade-DC-Offset/Sample.cfg", TextEncoding::Windows, "189", 7918, 8,
     -554 * 0.239321, false},
    {"commander-apemanx__Comtrade-DC-Offset/Sample.dat", TextEncoding::Windows, "189", 7918, 8,
     -554 * 0.239321, false},
    {"tshort__COMTRADE.jl/1999-ascii-pq.cfg", TextEncoding::Windows, "Sub1", 3584, 6, 67707, true},
    {"tshort__COMTRADE.jl/1991-ascii-sel.cfg", TextEncoding::Windows,
     "FID=SEL-311L-R157-V0-Z009004-D20060929", 480, 24, 0.00079208 * 156550 - 395, false},
    {"Nazir__COMTRADE/test.cfg", TextEncoding::Cp866, "СИРИУС-2-Л          ", 6000, 4,
     51 * 0.037881, false},
};

struct Refused {
    const char* file;
    const char* message;
};

constexpr const char* kNotAscii =
    "Ошибка загрузки данных из файла конфигурации. Ошибка разбора данных. Потдерживается только "
    "файл данных в стандарте ASCII";
constexpr const char* kNot1999 =
    "Ошибка загрузки данных из файла конфигурации. Ошибка разбора данных. Потдерживается только "
    "стандарт COMTRADE 1999";
constexpr const char* kNoPair =
    "Ошибка открытия файла. Файла с таким именем и расширение .dat или .cfg не существует.";
constexpr const char* kRates = "Ошибка создания оси времени. nrates не равен одному";

const Refused kRefused[] = {
    {"Esticonv__Wisp.Comtrade/1.cfg", kNot1999},
    {"Esticonv__Wisp.Comtrade/3.cfg", kNotAscii},
    {"Esticonv__Wisp.Comtrade/4.CFG", kNot1999},
    {"Esticonv__Wisp.Comtrade/5.cfg", kNot1999},
    {"dparrini__python-comtrade/sample_ascii.cfg", kNot1999},
    {"dparrini__python-comtrade/sample_bin.cfg", kNotAscii},
    {"dparrini__python-comtrade/sample_iso8859-1.cfg", kNot1999},
    {"dparrini__python-comtrade/sample_sub_char.cfg", kNoPair},
    // Any file of the pair's base name may be chosen: this one finds sample_ascii.cfg.
    {"dparrini__python-comtrade/sample_ascii.cff", kNot1999},
    {"drewsilcock__comtrade/real_1999_bin.cfg", kNotAscii},
    {"gabrieldelaparra__ComtradeHandler/Comtrade1.cfg", kNot1999},
    {"miguelmoreto__pycomtrade/test2.cfg", kNotAscii},
    {"pnnl__oedisi_transients/f1_1b274run.cfg", kNot1999},
    {"tshort__COMTRADE.jl/1999-binary-hif-sel.cfg",
     "Ошибка загрузки данных из файла конфигурации. Ошибка разбора данных. Не указаны еденицы "
     "измерения для аналогового канала"},
    {"yonwoo9__go-comtrade/test1.cfg", kNot1999},
    {"yonwoo9__go-comtrade/test2.cfg", kRates},
    {"zhangsonggui__comtrade-io/ascii_1991.cfg", kRates},
    {"zhangsonggui__comtrade-io/ascii_cff_2013.cff", kNoPair},
    {"zhangsonggui__comtradeOfPython/xtz.cfg", kNotAscii},
};

QString SamplePath(const char* file) {
    return QString::fromStdString((test::SamplesDir() / file).string());
}

TEST(RealRecords, AcceptedRecordsLoadWithTheirValues) {
    QTemporaryDir traces;
    for (const Accepted& a : kAccepted) {
        SCOPED_TRACE(a.file);
        const LoadedRecord r = LoadRecord(
            SamplePath(a.file),
            {.encoding = a.encoding, .traceFolder = traces.path(), .allHarmonics = true});
        EXPECT_EQ(r.cfg.station_name, a.station);
        ASSERT_EQ(r.data.SampleCount(), a.samples);
        ASSERT_EQ(r.data.analog.size(), a.analog);
        EXPECT_NEAR(r.data.analog[0].Value(0), a.firstValue, 1e-9);
        EXPECT_EQ(r.data.analog[0].Gap(0), a.firstIsGap);
        for (const AnalogColumns& ch : r.data.analog) {
            EXPECT_EQ(ch.harmonics.size(), a.samples);
        }
        // The cursor starts on the sample nearest the trigger, the window showing everything.
        EXPECT_GE(r.cursor, 0);
        EXPECT_EQ(r.cursor, NearestSample(r.data.xMs, r.data.timeAscending, 0.0));
    }
}

TEST(RealRecords, RefusedRecordsShowTheirMessage) {
    QTemporaryDir traces;
    for (const Refused& c : kRefused) {
        try {
            LoadRecord(SamplePath(c.file), {.traceFolder = traces.path()});
            ADD_FAILURE() << c.file << " loaded";
        } catch (const LoadError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.file;
        }
    }
}

TEST(RealRecords, NamedChannelsWriteTheirTraceBesideTheSettings) {
    QTemporaryDir traces;
    LoadedRecord r = LoadRecord(SamplePath("Nazir__COMTRADE/test.cfg"),
                                {.encoding = TextEncoding::Cp866, .traceFolder = traces.path()});
    QFile trace(QDir(traces.path()).filePath("Ia.csv"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll().count('\n'), 6001);
    // Only the traced channel is analysed during the load; the others when asked for.
    for (std::size_t c = 0; c < r.data.analog.size(); ++c) {
        const bool traced = r.cfg.analog[c].ch_id == "Ia";
        EXPECT_EQ(r.data.analog[c].harmonics.size(), traced ? 6000U : 0U) << c;
    }
    const std::size_t last = r.data.analog.size() - 1;
    // An analysis whose columns would not fit is refused before it starts.
    try {
        FillHarmonicsOf(r, std::span(&last, 1), {.memoryBudget = 100'000});
        ADD_FAILURE() << "an analysis beyond the budget ran";
    } catch (const LoadError& e) {
        EXPECT_STREQ(e.what(),
                     "Недостаточно памяти: расчёту гармоник нужно около 1 МБ, доступно 1 МБ");
    }
    EXPECT_EQ(r.data.analog[last].harmonics.size(), 0U);
    FillHarmonicsOf(r, std::span(&last, 1));
    EXPECT_EQ(r.data.analog[last].harmonics.size(), 6000U);
}

}  // namespace
}  // namespace faultscope
