// The desktop engine against a recording fake of the service, and the combined control over it
// and the real embedded synthesizer (in memory): the list, the routing, the notices.
#include "CombinedSpeechControl.h"

#include <QTest>
#include <atomic>
#include <mutex>

namespace {
// A service that answers when `up`, and records what it was asked.
class FakeService final : public SpeechService {
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
    std::vector<ServiceVoice> Voices(const QString& module) override {
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

private:
    bool record(const QString& call) {
        const std::lock_guard lock(mutex);
        log << call;
        return up;
    }
};

constexpr std::chrono::milliseconds Retry{20};
} // namespace

class tst_DesktopSpeech : public QObject {
    Q_OBJECT
    std::unique_ptr<EspeakSpeechControl> embedded; // one per process

private slots:
    void initTestCase() {
        embedded = std::make_unique<EspeakSpeechControl>(EspeakSpeechControl::Output::Memory, "C");
    }
    void cleanupTestCase() { embedded.reset(); }

    // Voices once the service answers, asked for without starting it again; none and nothing
    // said while it does not. The screen reader's voice is the service's default, once listed.
    void listedWhenItAnswers() {
        auto owned = std::make_unique<FakeService>();
        FakeService& service = *owned;
        service.up = false;
        QStringList notices;
        DesktopSpeech desktop(
            std::move(owned), [&](const QString& m) { notices << m; }, Retry);
        CombinedSpeechControl speech(*embedded, desktop, "en_US");
        QTRY_VERIFY(service.calls().count("Open") >= 2);
        QCOMPARE(desktop.VoiceCount(), 0);
        QCOMPARE(speech.ReaderVoice(), 0);
        service.up = true;
        QTRY_COMPARE(desktop.VoiceCount(), 3);
        QCOMPARE(speech.ReaderVoice(), embedded->VoiceCount() + 1);
        QCOMPARE(speech.VoiceName(speech.ReaderVoice()), "Desktop default voice");
        QCOMPARE(service.calls().first(), "Open:start");
        QVERIFY(!service.calls().contains("Voices:espeak-ng"));
        QVERIFY(notices.isEmpty());
    }

    void routedToTheChosenEngine() {
        auto owned = std::make_unique<FakeService>();
        FakeService& service = *owned;
        DesktopSpeech desktop(std::move(owned), {}, Retry);
        CombinedSpeechControl speech(*embedded, desktop, "en_US");
        const int own = embedded->VoiceCount();
        QTRY_COMPARE(speech.VoiceCount(), own + 3);
        QCOMPARE(speech.VoiceName(1), embedded->VoiceName(1));
        QCOMPARE((QStringList{speech.VoiceName(own + 1), speech.VoiceName(own + 2)}),
                 (QStringList{"Desktop default voice", "Pico: en-GB"}));
        QCOMPARE(speech.VoiceAttribute(own + 3), 2);
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech.SetCurrentVoice(own + 4));
        QCOMPARE(speech.FindVoice("Mfg=Pico;Gender=2"), own + 3);

        embedded->SelectVoice(embedded->FindVoice("Name=English (Great Britain)"));
        speech.Speak("Go");
        const std::size_t heard = embedded->Samples().size();
        speech.SetCurrentVoice(own + 1);
        speech.StopSpeaking();
        speech.Speak(QString("Say\x01 it"));
        QTRY_VERIFY(service.calls().contains("Say:Say it"));
        service.speaking = true;
        QVERIFY(speech.IsSpeaking());
        QCOMPARE(speech.CurrentVoice(), own + 1);
        speech.SetCurrentVoice(1);
        QVERIFY(!speech.IsSpeaking());
        speech.Speak("This is a test");
        QVERIFY(embedded->Samples().size() > heard); // the embedded engine speaks again
        QTRY_COMPARE(service.calls().mid(service.calls().indexOf("Use:/")),
                     (QStringList{"Use:/", "Cancel", "Say:Say it", "Cancel"}));
        speech.SetCurrentVoice(own + 3);
        QTRY_COMPARE(service.calls().last(), "Use:pico/en-US");
    }

    // Told once when lost while its voice is chosen, once when back; not told while an embedded
    // voice is chosen.
    void lostAndBack() {
        auto owned = std::make_unique<FakeService>();
        FakeService& service = *owned;
        QStringList notices;
        std::mutex noticed;
        const auto count = [&](const char* what) {
            const std::lock_guard lock(noticed);
            return notices.filter(what).size();
        };
        DesktopSpeech desktop(
            std::move(owned),
            [&](const QString& m) {
                const std::lock_guard lock(noticed);
                notices << m;
            },
            Retry);
        QTRY_COMPARE(desktop.VoiceCount(), 3);
        desktop.Choose(0);
        service.up = false;
        QTRY_COMPARE(count("gone away"), 1);
        QTRY_VERIFY(service.calls().count("Open") >= 3);
        service.up = true;
        QTRY_COMPARE(count("answers again"), 1);
        QTRY_COMPARE(service.calls().last(), "Use:/"); // the chosen voice set again
        desktop.Choose(-1);
        service.up = false;
        desktop.Stop();
        QTRY_VERIFY(service.calls().count("Open") >= 6);
        QCOMPARE(count("gone away") + count("answers again"), 2);
    }
};

QTEST_GUILESS_MAIN(tst_DesktopSpeech)
#include "tst_desktopspeech.moc"
