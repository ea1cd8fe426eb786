// The player against a real sound server of its own: the stream is corked whenever nothing plays,
// so that an idle program does not hold the sound card. Run once for PulseAudio and once for
// PipeWire (scripts/sound-server use); losing the server is heard in the end-to-end sound suite.
#include "PulsePlayer.h"

#include <QProcess>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

std::vector<short> tone(int milliseconds) {
    std::vector<short> samples(static_cast<std::size_t>(22050 * milliseconds / 1000));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(8000 * std::sin(static_cast<double>(i) * 0.1));
    return samples;
}

// "yes" or "no" as the server has the player's stream; empty when it has none.
QString corked() {
    QProcess pactl;
    pactl.start("sh", {"-c", "pactl list sink-inputs | sed -n 's/.*Corked: //p'"});
    pactl.waitForFinished();
    return QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
}

} // namespace

class tst_PulsePlayer : public QObject {
    Q_OBJECT
    std::unique_ptr<PulsePlayer> player;

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("HORAVOX_SOUND_DIR"))
            QSKIP("needs a sound server of its own: scripts/sound-server use KIND -- ...");
        player = std::make_unique<PulsePlayer>(22050, [](const QString&) {});
        QVERIFY(QTest::qWaitFor([this] { return player->Connected(); }, 3000));
        QCOMPARE(corked(), "yes");
    }
    void cleanupTestCase() { player.reset(); }

    void corkedWhenSilent_data() {
        QTest::addColumn<int>("toneMs");
        QTest::addColumn<QString>("then");
        QTest::newRow("tone plays out") << 300 << "";
        QTest::newRow("stopped") << 5000 << "stop";
        QTest::newRow("blank phrase cuts off") << 5000 << "blank";
    }
    void corkedWhenSilent() {
        QFETCH(int, toneMs);
        QFETCH(QString, then);
        player->Play(tone(toneMs));
        QVERIFY(player->IsPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(corked(), "no", 1000);
        if (then == "stop")
            player->Stop();
        else if (then == "blank")
            player->Play({});
        QVERIFY(then.isEmpty() || !player->IsPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(corked(), "yes", 2000);
        QTest::qWait(300);
        QCOMPARE(corked(), "yes");
        QVERIFY(!player->IsPlaying());
    }
};

QTEST_GUILESS_MAIN(tst_PulsePlayer)
#include "tst_pulseplayer.moc"
