// The router over two fake engines, the embedded one first: one numbering, the reader's voice,
// speech routed to the chosen voice's engine, speech in progress left alone when it changes.
#include "TextRow.h"
#include "speech/SpeechRouter.h"

#include <QTest>

namespace {
class FakeEngine final : public SpeechEngine {
public:
    std::vector<VoiceInfo> voices;
    QStringList calls; // "Choose:2", "Speak:Go", "Stop"
    bool speaking = false;

    std::vector<VoiceInfo> Voices() const override { return voices; }
    int VoiceCount() const override { return static_cast<int>(voices.size()); }
    void Choose(int voice) override { calls << "Choose:" + QString::number(voice); }
    void Speak(const QString& text) override { calls << "Speak:" + text; }
    void Stop() override { calls << "Stop"; }
    bool IsSpeaking() const override { return speaking; }
};

// "Own 1", "Own 2" … speaking English; "Default" (no identifier), "Desk 2" … speaking German.
std::vector<VoiceInfo> voices(int count, bool desktop) {
    std::vector<VoiceInfo> list;
    for (int v = 1; v <= count; ++v) {
        const QString id =
            desktop && v == 1 ? "" : (desktop ? "Desk " : "Own ") + QString::number(v);
        list.push_back(
            {id.isEmpty() ? "Default" : id, id, {{desktop ? "de" : "en"}}, v % 2 + 1, "", desktop});
    }
    return list;
}

} // namespace
using Numbering = std::tuple<int, int, int>; // own, desktop, reader

class tst_SpeechRouter : public QObject {
    Q_OBJECT
    FakeEngine embedded, desktop;

private slots:
    void init() { embedded = desktop = FakeEngine(); }

    // The desktop's voices, listed late, follow the embedded ones; the reader's is its default.
    void numbering_data() {
        rows<Numbering>({{"both engines", {2, 3, 3}},
                         {"no embedded voices", {0, 2, 1}},
                         {"the desktop not listed yet", {2, 0, 0}},
                         {"no voices at all", {0, 0, 0}}});
    }
    void numbering() {
        const auto [own, listed, reader] = row<Numbering>();
        embedded.voices = voices(own, false);
        SpeechRouter speech({&embedded, &desktop}, "de_DE");
        QCOMPARE(speech.VoiceCount(), own);
        desktop.voices = voices(listed, true);
        QCOMPARE(speech.VoiceCount(), own + listed);
        QCOMPARE(speech.ReaderVoice(), reader);
        QCOMPARE(speech.VoiceAttribute(own + listed), own + listed ? (own + listed) % 2 + 1 : 0);
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech.VoiceName(own + listed + 1));
        if (reader > 0) {
            QCOMPARE(speech.VoiceName(reader), "Default");
            speech.SetCurrentVoice(reader);
            QCOMPARE(desktop.calls, QStringList{"Choose:1"});
            QVERIFY(embedded.calls.isEmpty());
        }
    }

    // Criteria pick among all voices, the embedded first in a tie; the first engine speaks until a
    // voice is chosen; a change leaves speech in progress heard, a stop reaches every engine.
    void routedToTheChosenEngine() {
        embedded.voices = voices(2, false);
        desktop.voices = voices(2, true);
        SpeechRouter speech({&embedded, &desktop}, "de_DE");
        QCOMPARE(speech.FindVoice("Gender=1"), 2);
        QCOMPARE(speech.FindVoice("Language=de;Gender=1"), 4);
        speech.Speak("Go");
        QCOMPARE(speech.CurrentVoice(), 0);
        QVERIFY(!speech.IsSpeaking());
        embedded.speaking = true;
        speech.SetCurrentVoice(4);
        QVERIFY(speech.IsSpeaking());
        speech.Speak(QString("Say\x01 it\n"));
        QCOMPARE(speech.CurrentVoice(), 4);
        QVERIFY_THROWS_EXCEPTION(SpeechError, speech.SetCurrentVoice(5));
        std::swap(embedded.speaking, desktop.speaking);
        speech.SelectVoice(2);
        QVERIFY(speech.IsSpeaking());
        speech.StopSpeaking();
        speech.Speak("Back");
        QCOMPARE(speech.CurrentVoice(), 2);
        QCOMPARE(desktop.calls, (QStringList{"Choose:2", "Speak:Say it ", "Stop"}));
        QCOMPARE(embedded.calls, (QStringList{"Speak:Go", "Choose:2", "Stop", "Speak:Back"}));
    }
};

QTEST_APPLESS_MAIN(tst_SpeechRouter)
#include "tst_speechrouter.moc"
