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
        QVERIFY(std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        }));
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech->VoiceName(speech->VoiceCount() + 1));
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech->SelectVoice(speech->VoiceCount() + 1));
    }

    void startUpVoiceByLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("voice");
        QTest::newRow("en_US") << "en_US.UTF-8"
                               << "English (America)";
        QTest::newRow("en_GB") << "en_GB"
                               << "English (Great Britain)";
        QTest::newRow("C") << "C"
                           << "English (Great Britain)";
        QTest::newRow("de_DE") << "de_DE"
                               << "German";
        QTest::newRow("fr_CA") << "fr_CA"
                               << "French (France)";
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Portuguese (Brazil)";
    }
    void startUpVoiceByLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, voice);
        QCOMPARE(speech->VoiceName(BestVoice(speech->Voices(), "Mfg=Microsoft;Gender=1", locale)),
                 voice);
    }

    void startUpVoiceSpeaksTheUserLanguage() {
        const int voice = speech->FindVoice("Mfg=Microsoft;Gender=1");
        QCOMPARE(speech->VoiceName(voice), QStringLiteral("German"));
        speech->SelectVoice(voice);
        QCOMPARE(speech->CurrentVoice(), voice);
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
