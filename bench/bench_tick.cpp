// One tick of the window, plain and scanning, beside two unchanged QLineEdit::setText calls.
#include "TickSetup.h"

#include <benchmark/benchmark.h>

namespace {

void tick(benchmark::State& state, TickKind kind) {
    WindowFixture f;
    int second = 36000;
    for (auto _ : state)
        TickOnce(f, kind, second);
    f.speech.calls.clear();
}

void BM_PlainTick(benchmark::State& state) {
    tick(state, TickKind::Plain);
}

void BM_ScanningTick(benchmark::State& state) {
    tick(state, TickKind::Scanning);
}

void BM_TwoUnchangedSetTexts(benchmark::State& state) {
    QLineEdit a(QStringLiteral("10:00:00")), b(QStringLiteral("00:00:00"));
    for (auto _ : state)
        SetTextTwice(a, b);
}

} // namespace

BENCHMARK(BM_TwoUnchangedSetTexts);
BENCHMARK(BM_PlainTick);
BENCHMARK(BM_ScanningTick);

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
