// Reading a settings file with many keys in one section: the cost per key must not grow with the
// number of keys, so the large file takes about 100 times the small one.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/settings/ini_store.h"

namespace faultscope {
namespace {

void ReadKeys(benchmark::State& state) {
    const auto keys = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QByteArray text("[ATemplateLst]\n");
    for (int i = 0; i < keys; ++i) {
        text += "Template" + QByteArray::number(i) + "=Ia|Ib|Ic|\n";
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    for (auto _ : state) {
        IniStore ini(path);
        benchmark::DoNotOptimize(ini.ValueExists("atemplatelst", "template0"));
    }
    state.SetItemsProcessed(state.iterations() * keys);
}
BENCHMARK(ReadKeys)->Arg(2'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope
