// The real synthesizer, its sound recorded: its voices and what it says. The library starts
// once per process, so one engine serves every case.
#include "TextRow.h"
#include "speech/SpeechControl.h"
#include "speech/espeak/EspeakEngine.h"

#include <QTest>
#include <algorithm>
#include <memory>

namespace {
class RecordingSink final : public SoundSink {
public:
    std::vector<short> played;
    void Play(std::vector<short> samples) override { played = std::move(samples); }
    void Stop() override { played.clear(); }
    bool IsPlaying() const override { return !played.empty(); }
};
using Locale = std::pair<QString, QString>; // the user's, the voice for it
} // namespace

class tst_Espeak : public QObject {
    Q_OBJECT
    std::unique_ptr<EspeakEngine> speech;
    RecordingSink* sink = nullptr;

    QStringList names() const {
        QStringList names;
        for (const VoiceInfo& voice : speech->Voices())
            names << voice.name;
        return names;
    }

private slots:
    void initTestCase() {
        speech = std::make_unique<EspeakEngine>([this](int, SoundSink::Listener) {
            auto made = std::make_unique<RecordingSink>();
            sink = made.get();
            return made;
        });
        QVERIFY2(speech->UnavailableReason().isEmpty(), qPrintable(speech->UnavailableReason()));
    }
    void cleanupTestCase() { speech.reset(); }

    void voicesHaveNames() {
        QVERIFY(speech->VoiceCount() > 10);
        QCOMPARE(names().size(), speech->VoiceCount());
        QVERIFY(!names().contains(QString()));
        QVERIFY(names().contains("English (Great Britain)") && names().contains("Cherokee"));
        QStringList sorted = names();
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(names(), sorted);
    }

    // The voice for the criteria the program starts with, by the user's locale.
    void startUpVoice_data() {
        rows<Locale>({{"en_US", {"en_US.UTF-8", "English (America)"}},
                      {"en_GB", {"en_GB", "English (Great Britain)"}},
                      {"C", {"C", "English (Great Britain)"}},
                      {"fr_CA", {"fr_CA", "French (France)"}},
                      {"pt_BR", {"pt_BR", "Portuguese (Brazil)"}},
                      {"de_DE", {"de_DE.UTF-8", "German"}}});
    }
    void startUpVoice() {
        const auto [locale, voice] = row<Locale>();
        QCOMPARE(names().value(BestVoice(speech->Voices(), "Mfg=Microsoft;Gender=1", locale) - 1),
                 voice);
    }

    // Heard from its first sound, the whole phrase; stopped at once.
    void goIsHeard() {
        speech->Choose(int(names().indexOf("English (Great Britain)")) + 1);
        speech->Speak("Go");
        const auto& samples = sink->played;
        QVERIFY(samples.size() > std::size_t(speech->SampleRate() / 10));
        QVERIFY(std::abs(samples.front()) > 64);
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        QVERIFY2(*high - *low > 4000, "the synthesized word is silence");
        QVERIFY(speech->IsSpeaking());
        speech->Speak("The letter ee, indicates elapsed time and the letter eh, indicates actual "
                      "time");
        QVERIFY(samples.size() > std::size_t(speech->SampleRate() * 3)); // the whole phrase
        speech->Stop();
        QVERIFY(!speech->IsSpeaking());
    }
};

QTEST_APPLESS_MAIN(tst_Espeak)
#include "tst_espeak.moc"
