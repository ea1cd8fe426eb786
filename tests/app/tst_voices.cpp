// The voice set-up at load and the voice list's choices. The speech control may settle on another
// voice than the one it was told, so only what is read back from it may count.
#include "TextRow.h"
#include "WindowFixture.h"

#include <QTest>

namespace {
struct StartUp {
    int voices, found, settled, index;
    QStringList calls;
    QString error;
};
struct Choice {
    int attribute, settled;
    QString flag;
};
} // namespace

class tst_Voices : public QObject {
    Q_OBJECT
private slots:
    void startUp_data() {
        rows<StartUp>(
            {{"three voices, the second found",
              {3, 2, 0, 1, {"Find", "Select:2", "Current:2", "Flag:0"}, ""}},
             {"the control settles on another",
              {3, 2, 3, 2, {"Find", "Select:2", "Current:3", "Flag:1"}, ""}},
             {"no voices", {0, 0, 0, -1, {"Find", "Select:0", "Current:0", "Flag:1"}, ""}},
             {"current voice beyond the list", {3, 7, 0, -1, {"Find", "Select:7"}, "no entry 6"}}});
    }
    void startUp() {
        const auto [voices, found, settled, index, calls, error] = row<StartUp>();
        FakeClock clock;
        RecordingSpeech speech;
        RecordingStarter starter;
        speech.voices.resize(std::size_t(voices));
        speech.found = found;
        speech.settled = settled;
        frmHoravox window(clock, speech, starter, noFrame());
        window.Load();
        QStringList entries;
        for (int i = 0; i < window.cboSelectVoice->count(); ++i)
            entries << window.cboSelectVoice->itemText(i);
        QCOMPARE(entries, QStringList({"Anna", "Bert", "Carl"}).first(voices)); // all in, in order
        QCOMPARE(window.cboSelectVoice->currentIndex(), index);
        if (!error.isEmpty()) // refused: the list keeps its design text
            QCOMPARE(window.cboSelectVoice->currentText(), QStringLiteral("cboSelectVoice"));
        QCOMPARE(speech.calls, calls);
        QCOMPARE(window.Errors().ErrorCount(), error.isEmpty() ? 0 : 1);
        QVERIFY(window.Errors().LastMessage().contains(error));
    }

    // The third voice chosen: its attribute, the voice the control settles on, the flag set.
    void choosingAnEntry_data() {
        rows<Choice>({{"attribute 1", {1, 0, "Flag:0"}},
                      {"attribute 0", {0, 0, "Flag:1"}},
                      {"attribute 2", {2, 0, "Flag:1"}},
                      {"attribute -1", {-1, 0, "Flag:1"}},
                      {"the flag follows the voice read back", {0, 2, "Flag:0"}}});
    }
    void choosingAnEntry() {
        const auto [attribute, settled, flag] = row<Choice>();
        WindowFixture f;
        f.speech.voices[2].attribute = attribute;
        f.speech.settled = settled;
        f.speech.calls.clear();
        f.choose(f.window->cboSelectVoice, 2);
        QCOMPARE(f.speech.calls, (QStringList{"Current:3", flag}));
    }
};

QTEST_MAIN(tst_Voices)
#include "tst_voices.moc"
