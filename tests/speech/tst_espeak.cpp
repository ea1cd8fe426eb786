// The real synthesizer, synthesizing into memory: its voices and its sound. The library starts
// once per process, so one control serves every case.
#include "EspeakSpeechControl.h"

#include <QTest>
#include <algorithm>
#include <memory>

class tst_Espeak : public QObject {
    Q_OBJECT
    std::unique_ptr<EspeakSpeechControl> speech;

private slots:
    void initTestCase() {
        speech = std::make_unique<EspeakSpeechControl>(EspeakSpeechControl::Output::Memory,
                                                       "de_DE.UTF-8");
        QVERIFY2(speech->UnavailableReason().isEmpty(), qPrintable(speech->UnavailableReason()));
    }
    void cleanupTestCase() { speech.reset(); }

    void voicesHaveNames() {
        QVERIFY(speech->VoiceCount() > 10);
        QStringList names;
        for (int v = 1; v <= speech->VoiceCount(); ++v)
            names << speech->VoiceName(v);
        QVERIFY(!names.contains(QString()));
        QVERIFY(names.contains("English (Great Britain)") && names.contains("Cherokee"));
        QStringList sorted = names;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(names, sorted);
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech->VoiceName(speech->VoiceCount() + 1));
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech->SelectVoice(speech->VoiceCount() + 1));
    }

    // The voice for the criteria the program starts with, by the user's locale.
    void startUpVoice_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("voice");
        const auto row = [](const char* name, const char* locale, const char* voice) {
            QTest::newRow(name) << QString(locale) << QString(voice);
        };
        row("en_US", "en_US.UTF-8", "English (America)");
        row("en_GB", "en_GB", "English (Great Britain)");
        row("C", "C", "English (Great Britain)");
        row("fr_CA", "fr_CA", "French (France)");
        row("pt_BR", "pt_BR", "Portuguese (Brazil)");
        row("the control's own de_DE", "", "German");
    }
    void startUpVoice() {
        QFETCH(QString, locale);
        QFETCH(QString, voice);
        const char* criteria = "Mfg=Microsoft;Gender=1";
        const int best = locale.isEmpty() ? speech->FindVoice(criteria)
                                          : BestVoice(speech->Voices(), criteria, locale);
        QCOMPARE(speech->VoiceName(best), voice);
    }

    void goIsHeard() {
        speech->SelectVoice(speech->FindVoice("Name=English (Great Britain)"));
        speech->Speak("Go");
        const auto& samples = speech->Samples();
        QVERIFY(samples.size() > std::size_t(speech->SampleRate() / 10));
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        QVERIFY2(*high - *low > 4000, "the synthesized word is silence");
        speech->Speak("The letter ee, indicates elapsed time and the letter eh, indicates actual "
                      "time");
        QVERIFY(samples.size() > std::size_t(speech->SampleRate() * 3)); // the whole phrase
    }
};

QTEST_APPLESS_MAIN(tst_Espeak)
#include "tst_espeak.moc"
