// The window's handlers: Say This Now, Reset, Help, typing into the lists, the voice set-up at load
// and the voice list's choices, the user's and a screen reader's. Only the voice read back from the
// speech control counts: it may settle on another than it was told.
#include "TextRow.h"
#include "WindowFixture.h"
#include "ui/ClickableLabel.h"

#include <QPushButton>
#include <QTest>

using SayNow = std::tuple<QString, QStringList, QStringList>; // text, speech calls, started
using StartUp = std::tuple<int, int, int, int, QStringList, QString>;
using Choice = std::tuple<int, int, QString>; // attribute, settled, flag
// Reader on and its voice listed at start; steps: "tick", "listed" (the reader's voice), "on",
// "off", "user chooses"; the list's selection at the end; every voice made current.
using Reader = std::tuple<bool, bool, QStringList, int, QStringList>;

class tst_Handlers : public QObject {
    Q_OBJECT
private slots:
    // The text, the calls to the speech control and the programs started.
    void sayThisNow_data() {
        const QString player = "C:\\Program Files\\Windows Media Player\\mplayer2.exe ";
        const QString wav = "c:\\windows\\media\\tada.wav";
        rows<SayNow>({{"words", {"This is a test", {"Stop", "Speak:This is a test"}, {}}},
                      {"empty", {"", {"Stop", "Speak:"}, {}}},
                      {"pasted at length",
                       {QString(30000, u'x'), {"Stop", "Speak:" + QString(128, u'x')}, {}}},
                      {"sound file", {wav, {"Stop"}, {player + wav}}},
                      {"one-digit time", {"1:30", {"Stop"}, {player + "1:30"}}}});
    }
    void sayThisNow() {
        const auto [text, speech, started] = row<SayNow>();
        WindowFixture f;
        f.speech.calls.clear();
        f.window->txtSayThisNow->setText(text);
        QTest::mouseClick(f.window->cmdSayThisNow, Qt::LeftButton);
        QCOMPARE(f.speech.calls, speech);
        QCOMPARE(f.starter.started, started);
    }

    // Reset reads the clock itself, counts from there, stops the speech and says "Go", whose
    // failure is shown. The rows speak again from the next second, even after a midnight.
    void resetRestartsTheCountAndTheRows() {
        WindowFixture f(QTime(23, 59, 50));
        f.tickAt(0, 0, 30, 1);
        f.clock.set(0, 0, 31, 1); // no tick yet in this second: the reset reads the clock
        f.speech.calls.clear();
        f.speech.failOn = "Speak";
        QTest::mouseClick(f.window->cmdReset, Qt::LeftButton);
        QCOMPARE(f.speech.calls, QStringList{"Stop"});
        QVERIFY(f.window->Errors().LastMessage().contains(u"Speak:Go"));
        f.speech.failOn.clear();
        QTest::mouseClick(f.window->cmdReset, Qt::LeftButton);
        QCOMPARE(f.speech.calls, (QStringList{"Stop", "Stop", "Speak:Go"}));
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("00:00:31"));
        f.tickAt(0, 0, 32, 1);
        QCOMPARE(f.timer(), QStringLiteral("00:00:01"));
        f.tickAt(0, 0, 33, 1);
        QCOMPARE(f.speech.spoken(), (QStringList{"Go", "Horavox"}));
        f.window->cmdReset_Click(); // in a second already scanned: the "E 00:00:00" rows stay quiet
        f.tickAt(0, 0, 33, 1);
        QCOMPARE(f.speech.spoken(), (QStringList{"Go", "Horavox", "Go"}));
    }

    // A click before the first tick of its second scans that second first, so that its "E 00:00:00"
    // rows never cut "Go" off; one as its second ends counts from the second it read.
    void resetBeforeTheFirstTickOfItsSecond() {
        WindowFixture f;
        f.window->TimeList[8]->setText("00:00:31");
        f.window->SayList[8]->setText("thirty-one");
        f.tickAt(10, 0, 30, 0, 900);
        f.clock.set(10, 0, 31, 0, 3);
        f.speech.calls.clear();
        QTest::mouseClick(f.window->cmdReset, Qt::LeftButton);
        f.tickAt(10, 0, 31, 0, 5);
        QCOMPARE(f.speech.calls, (QStringList{"Stop", "Speak:thirty-one", "Stop", "Speak:Go"}));
        f.tickAt(10, 0, 32, 0, 999);
        QCOMPARE(f.timer(), QStringLiteral("00:00:01"));
        f.clock.readingStep = 1;
        f.window->cmdReset_Click();
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("10:00:33"));
    }

    // Each click on the button or a line starts the help text (tst_starter starts it for real);
    // each failed start is shown.
    void helpClicks() {
        WindowFixture f;
        QList<QWidget*> targets{f.window->cmdHelp};
        targets.append({f.window->Help.begin(), f.window->Help.end()});
        for (QWidget* target : targets) { // twice each, and none wired to another's handler
            f.starter.started.clear();
            QTest::mouseClick(target, Qt::LeftButton);
            QTest::mouseClick(target, Qt::LeftButton);
            QCOMPARE(f.starter.started, QStringList(2, "notepad.exe readme.txt"));
        }
        f.starter.fail = true;
        for (QWidget* target : targets)
            QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(f.window->Errors().ErrorCount(), 6);
        QVERIFY(f.window->Errors().LastMessage().contains(u"notepad.exe readme.txt"));
    }

    void typingAddsNoEntry() {
        WindowFixture f;
        for (QComboBox* list :
             {f.window->cboTimerMode, f.window->cboDisplayMode, f.window->cboSelectVoice}) {
            const int count = list->count();
            QTest::keyClicks(list->lineEdit(), "x");
            QTest::keyClick(list->lineEdit(), Qt::Key_Return);
            QCOMPARE(list->count(), count);
        }
    }

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
        WindowFixture f(QTime(10, 0), {}, false, false);
        f.speech.voices.resize(std::size_t(voices));
        f.speech.found = found;
        f.speech.settled = settled;
        f.window->Load();
        const QComboBox* list = f.window->cboSelectVoice;
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        QCOMPARE(entries, QStringList({"Anna", "Bert", "Carl"}).first(voices)); // all in, in order
        QCOMPARE(list->currentIndex(), index);
        if (!error.isEmpty()) // refused: the list keeps its design text
            QCOMPARE(list->currentText(), QStringLiteral("cboSelectVoice"));
        QCOMPARE(f.speech.calls, calls);
        const QString shown = f.window->Errors().LastMessage();
        QVERIFY2(error.isEmpty() ? shown.isEmpty() : shown.contains(error), qPrintable(shown));
        QCOMPARE(f.window->Errors().ErrorCount(), error.isEmpty() ? 0 : 1);
    }

    // Voices the control gains later join the list at the next tick; the choice stays.
    void voicesAddedLater() {
        WindowFixture f;
        const int chosen = f.window->cboSelectVoice->currentIndex();
        f.speech.calls.clear();
        f.speech.voices.push_back({"Desktop default voice", 0});
        f.tickAt(10, 0, 1);
        f.tickAt(10, 0, 2);
        QCOMPARE(f.window->cboSelectVoice->count(), 4);
        QCOMPARE(f.window->cboSelectVoice->itemText(3), "Desktop default voice");
        QCOMPARE(f.window->cboSelectVoice->currentIndex(), chosen);
        QVERIFY(f.speech.calls.filter("Current").isEmpty());
    }

    // The third voice typed and chosen with Enter: its attribute, the voice the control settles on,
    // the flag set.
    void choosingAnEntry_data() {
        rows<Choice>({{"attribute 1", {1, 0, "Flag:0"}},
                      {"attribute 0", {0, 0, "Flag:1"}},
                      {"attribute 2", {2, 0, "Flag:1"}},
                      {"the flag follows the voice read back", {0, 2, "Flag:0"}}});
    }
    void choosingAnEntry() {
        const auto [attribute, settled, flag] = row<Choice>();
        WindowFixture f;
        f.speech.voices[2].attribute = attribute;
        f.speech.settled = settled;
        f.speech.calls.clear();
        QLineEdit* field = f.window->cboSelectVoice->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, "Carl");
        QVERIFY(f.speech.calls.isEmpty()); // typed, not chosen
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(f.speech.calls, (QStringList{"Current:3", flag}));
    }

    // The reader's voice is the fourth, "Desktop default voice", once listed; the start-up's
    // preferred voice is the second.
    void screenReaderVoice_data() {
        const QStringList start{"Current:2"}, switched{"Current:2", "Current:4"},
            chose{"Current:3"};
        rows<Reader>(
            {{"on at start, its voice listed", {true, true, {}, 3, switched}},
             {"on, its voice listed later", {true, false, {"tick", "listed", "tick"}, 3, switched}},
             {"on before the list has its voice", {false, false, {"listed", "on"}, 1, start}},
             {"off", {false, true, {"tick"}, 1, start}},
             {"turned on later", {false, true, {"tick", "on"}, 3, switched}},
             {"turned off", {true, true, {"tick", "off", "tick"}, 1, switched + start}},
             {"off and on again", {true, true, {"off", "on"}, 3, switched + switched}},
             {"the user chose first",
              {false, true, {"user chooses", "on", "tick"}, 2, start + chose}},
             {"the user chose while on",
              {true, true, {"user chooses", "off", "tick"}, 2, switched + chose}}});
    }
    void screenReaderVoice() {
        const auto [onAtStart, listedAtStart, steps, index, voices] = row<Reader>();
        WindowFixture f(QTime(10, 0), {}, false, false);
        const auto list = [&f] {
            f.speech.voices.push_back({"Desktop default voice", 0});
            f.speech.reader = 4;
        };
        if (listedAtStart)
            list();
        f.reader.on = onAtStart;
        f.window->Load();
        int second = 0;
        for (const QString& step : steps) {
            if (step == "tick")
                f.tickAt(10, 0, ++second);
            else if (step == "listed")
                list();
            else if (step == "user chooses")
                f.choose(f.window->cboSelectVoice, 2);
            else
                f.reader.turn(step == "on");
        }
        QCOMPARE(f.window->cboSelectVoice->currentIndex(), index);
        QCOMPARE(f.speech.calls.filter("Current"), voices);
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
    }
};

QTEST_MAIN(tst_Handlers)
#include "tst_handlers.moc"
