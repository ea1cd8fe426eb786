// The real synthesizer playing through the sound server: speaking returns at once, and stopping
// cuts the speech off.
#include "EspeakSpeechControl.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

class tst_EspeakPlayback : public QObject {
    Q_OBJECT
private slots:
    void stopCutsSpeechOff() {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            QSKIP("needs the sound server the test script starts");
        EspeakSpeechControl speech(EspeakSpeechControl::Output::Playback, "en_GB");
        speech.SelectVoice(speech.FindVoice(""));
        QElapsedTimer clock;
        clock.start();
        speech.Speak("This phrase will be spoken when the elapsed time is 1 hour and 20 minutes, "
                     "and it goes on for a good while longer than that.");
        qInfo("a five-second phrase synthesized in %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 1000); // handed over, not spoken, by the time Speak returns
        QTRY_VERIFY_WITH_TIMEOUT(speech.IsSpeaking(), 3000);
        QThread::msleep(300);
        clock.restart();
        speech.StopSpeaking();
        while (speech.IsSpeaking() && clock.elapsed() < 2000)
            QThread::msleep(5);
        QVERIFY2(clock.elapsed() < 300, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_APPLESS_MAIN(tst_EspeakPlayback)
#include "tst_espeak_playback.moc"
