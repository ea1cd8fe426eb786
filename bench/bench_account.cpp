// What the sound player's account costs at each write: one write of the samples the server asks
// for, alone (the account off) and with its entry noted in the ring (on); beside them, the debug
// log the account replaced, off as shipped and on as the end-to-end suites had it (its messages
// dropped, not printed, so that only its own cost counts).
#include "speech/espeak/SoundAccount.h"

#include <QLoggingCategory>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

Q_LOGGING_CATEGORY(soundLog, "horavox.sound", QtWarningMsg)

namespace {

constexpr std::size_t Asked = 330; // samples per write: the server asks for 15 ms at a time

// A phrase copied out to the stream a write at a time, as the player's write callback does.
struct WritePath {
    std::vector<short> phrase = std::vector<short>(44100, 1000);
    std::vector<short> stream = std::vector<short>(Asked);
    std::size_t next = 0;

    std::size_t write() {
        const std::size_t samples = std::min(Asked, phrase.size() - next);
        std::memcpy(stream.data(), phrase.data() + next, samples * sizeof(short));
        benchmark::DoNotOptimize(stream.data());
        next = (next + samples) % phrase.size();
        return samples;
    }
};

void accountOff(benchmark::State& state) {
    WritePath path;
    for (auto _ : state)
        benchmark::DoNotOptimize(path.write());
}

void accountOn(benchmark::State& state) {
    WritePath path;
    SoundAccount account(8192, nullptr);
    for (auto _ : state) {
        const std::size_t from = path.next;
        account.Note("writable %lld bytes, wrote %lld samples from %lld", Asked * 2, path.write(),
                     static_cast<long long>(from));
    }
}

void debugLog(benchmark::State& state, bool on) {
    QLoggingCategory::setFilterRules(on ? "horavox.sound.debug=true" : "");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    WritePath path;
    for (auto _ : state) {
        const std::size_t from = path.next;
        const std::size_t samples = path.write();
        qCDebug(soundLog) << "writable" << Asked * 2 << "writes" << samples << "from" << from;
    }
}

} // namespace

BENCHMARK(accountOff);
BENCHMARK(accountOn);
BENCHMARK_CAPTURE(debugLog, shipped_off, false);
BENCHMARK_CAPTURE(debugLog, suites_on, true);
BENCHMARK_MAIN();
