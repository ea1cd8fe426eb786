// The speech service's engine against a recording fake of its connection.
#include "speech/speechd/SpeechdEngine.h"

#include <QTest>
#include <atomic>
#include <mutex>

namespace {
// A service that answers when `up`, and records what it was asked and what the user was told.
class FakeConnection final : public SpeechdConnection {
public:
    std::atomic<bool> up = true, speaking = false;
    mutable std::mutex mutex;
    QStringList log; // "Open:start", "Voices:pico", "Use:pico/en-US", "Say:Go", "Cancel" ...

    QStringList calls() const { // shares nothing with the log the service's thread grows
        const std::lock_guard lock(mutex);
        QStringList copy;
        for (const QString& call : log)
            copy << QString(call.constData(), call.size());
        return copy;
    }
    bool Open(bool start) override { return record(start ? "Open:start" : "Open"); }
    QStringList Modules() override { return {"espeak-ng", "pico"}; }
    QString Language() override { return "en"; }
    std::vector<SpeechdVoice> Voices(const QString& module) override {
        record("Voices:" + module);
        return {{"en-US", "en-US", "female1"}, {"en-GB", "en-GB", "none"}};
    }
    bool Use(const QString& module, const QString& voice) override {
        return record("Use:" + module + "/" + voice);
    }
    bool Say(const QString& text) override { return record("Say:" + text); }
    bool Cancel() override { return record("Cancel"); }
    bool Alive() override { return up; }
    bool Speaking() const override { return speaking; }
    SpeechNotice tell() {
        return [this](const QString& message) { record("Told:" + message); };
    }
    qsizetype told(const char* what = "Told:") const { return calls().filter(what).size(); }

private:
    bool record(const QString& call) {
        const std::lock_guard lock(mutex);
        log << call;
        return up;
    }
};

constexpr std::chrono::milliseconds Retry{20};
} // namespace

class tst_SpeechdEngine : public QObject {
    Q_OBJECT
private slots:
    // Voices once the service answers (asked again without starting it), the default voice first;
    // voices set on the service before what is said after; a stop with nothing said asks nothing.
    void listedWhenItAnswers() {
        auto owned = std::make_unique<FakeConnection>();
        FakeConnection& service = *owned;
        service.up = false;
        SpeechdEngine desktop(std::move(owned), service.tell(), Retry);
        QTRY_VERIFY(service.calls().count("Open") >= 2);
        QCOMPARE(desktop.VoiceCount(), 0);
        service.up = true;
        QTRY_COMPARE(desktop.VoiceCount(), 3);
        const std::vector<VoiceInfo> voices = desktop.Voices();
        QCOMPARE((QStringList{voices[0].name, voices[1].name, voices[2].name}),
                 (QStringList{"Desktop default voice", "Pico: en-GB", "Pico: en-US"}));
        QVERIFY(voices[0].identifier.isEmpty());
        QCOMPARE(service.calls().first(), "Open:start");
        QVERIFY(!service.calls().contains("Voices:espeak-ng"));
        desktop.Choose(1);
        desktop.Stop();
        desktop.Speak("Say it");
        desktop.Choose(3);
        QTRY_COMPARE(service.calls().mid(service.calls().indexOf("Use:/")),
                     (QStringList{"Use:/", "Say:Say it", "Use:pico/en-US"})); // nothing to stop
        QVERIFY(!desktop.IsSpeaking());
        service.speaking = true;
        QVERIFY(desktop.IsSpeaking());
        QCOMPARE(service.told(), 0);
    }

    // Its voice chosen: the first phrase lost while the service is away is told, and its coming
    // back; not a service that goes while nothing is said through it.
    void lostAndBack() {
        auto owned = std::make_unique<FakeConnection>();
        FakeConnection& service = *owned;
        SpeechdEngine desktop(std::move(owned), service.tell(), Retry);
        QTRY_COMPARE(desktop.VoiceCount(), 3);
        desktop.Choose(1);
        service.up = false;
        QTRY_VERIFY(service.calls().count("Open") >= 2); // found gone, looked for again
        QCOMPARE(service.told("gone away"), 0);
        desktop.Speak("Lost");
        QTRY_COMPARE(service.told("gone away"), 1);
        desktop.Speak("Lost too");
        QTRY_VERIFY(service.calls().count("Open") >= 4);
        service.up = true;
        QTRY_COMPARE(service.told("answers again"), 1);
        QTRY_COMPARE(service.calls().last(), "Use:/"); // the chosen voice set again
        QVERIFY(service.calls().filter("Say:").isEmpty());
        desktop.Stop();
        QTRY_COMPARE(service.calls().last(), "Cancel");
        desktop.Stop();
        service.up = false;
        const qsizetype opened = service.calls().count("Open");
        QTRY_VERIFY(service.calls().count("Open") >= opened + 2);
        desktop.Stop();
        QCOMPARE(service.calls().count("Cancel"), 1);
        QCOMPARE(service.told(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_SpeechdEngine)
#include "tst_speechdengine.moc"
