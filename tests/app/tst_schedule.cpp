#include "PhraseOutput.h"
#include "TextRow.h"
#include "WindowFixture.h"

#include <QTest>

namespace {
struct Due {
    QString kind, time;
    bool due;
};
struct Phrase {
    QString text;
    bool soundFile;
};

// Seconds 0..last after a start at 10:00:00, one tick in each.
QStringList spokenDuring(WindowFixture& f, int last) {
    for (int s = 0; s <= last; ++s)
        f.tickAt(10, 0, s);
    return f.speech.spoken();
}
} // namespace

class tst_Schedule : public QObject {
    Q_OBJECT
private slots:
    void rowDue_data() {
        rows<Due>({{"E on the timer", {"E", "00:00:05", true}},
                   {"A on the clock", {"A", "22:00:00", true}},
                   {"E ignores the clock", {"E", "22:00:00", false}},
                   {"A ignores the timer", {"A", "00:00:05", false}},
                   {"lower-case e", {"e", "00:00:05", false}},
                   {"lower-case a", {"a", "22:00:00", false}},
                   {"empty kind", {"", "00:00:05", false}},
                   {"single hour digit", {"E", "0:00:05", false}},
                   {"trailing blank", {"E", "00:00:05 ", false}}});
    }
    void rowDue() {
        const auto [kind, time, due] = row<Due>();
        QCOMPARE(IsRowDue(kind, time, "00:00:05", "22:00:00"), due);
    }

    void soundFilePhrases_data() {
        rows<Phrase>({{"drive path", {"c:\\windows\\media\\tada.wav", true}},
                      {"drive alone", {"c:", true}},
                      {"one-digit time", {"1:30", true}},
                      {"two-digit time", {"10:30", false}},
                      {"words", {"This is a test", false}},
                      {"one character", {":", false}}});
    }
    void soundFilePhrases() {
        const auto [text, soundFile] = row<Phrase>();
        QCOMPARE(IsSoundFilePath(text), soundFile);
    }

    void defaultTableIntroducesTheProgram() {
        WindowFixture f;
        const QStringList spoken = spokenDuring(f, 25);
        QCOMPARE(spoken,
                 (QStringList{"", "", "", "Horavox", "Click the reset buttun to restart the clock",
                              "Click the help buttun for instructions",
                              "Change the display mode to edet the phrases spoken",
                              "The letter ee, indicates elapsed time and the letter eh, "
                              "indicates actual time"}));
        QCOMPARE(f.speech.calls.count("Stop"), spoken.size()); // each output stops speech first
    }

    void actualRowEveryDay() {
        WindowFixture f(QTime(21, 59, 58));
        f.tickAt(22, 0, 0);
        f.tickAt(0, 0, 0, 1);
        f.tickAt(0, 0, 1, 1);
        f.tickAt(22, 0, 0, 1);
        QCOMPARE(f.speech.spoken().count("This phrase will be spoken at 10 o clock p m"), 2);
    }

    void negativeTimerRow() {
        WindowFixture f;
        f.setMode("Down");
        f.window->TimerStart->setText("00:00:03");
        f.window->ElapsedActual[5]->setText("E");
        f.window->TimeList[5]->setText("- 00:00:05");
        f.window->SayList[5]->setText("five past zero");
        QVERIFY(!spokenDuring(f, 7).contains("five past zero"));
        f.tickAt(10, 0, 8);
        QCOMPARE(f.timer(), QStringLiteral("- 00:00:05"));
        QCOMPARE(f.speech.spoken().last(), QStringLiteral("five past zero"));
    }

    void rowsOfOneSecondInRowOrder() {
        WindowFixture f;
        f.window->cmdClearPhrases_Click();
        for (int i = 0; i < PhraseRowCount; ++i) {
            QCOMPARE(f.window->TimeList[std::size_t(i)]->text(), QStringLiteral("00:00:00"));
            QCOMPARE(f.window->ElapsedActual[std::size_t(i)]->text(), QString(i == 9 ? "A" : "E"));
        }
        f.window->TimeList[3]->setText("00:00:04");
        f.window->SayList[3]->setText("first");
        f.window->TimeList[7]->setText("00:00:04");
        f.window->SayList[7]->setText("second");
        f.window->ElapsedActual[8]->setText("e");
        f.tickAt(10, 0, 0);
        QCOMPARE(f.speech.spoken(), QStringList(6, QString())); // E rows with nothing to say
        f.speech.calls.clear();
        f.tickAt(10, 0, 4);
        QCOMPARE(f.speech.calls, (QStringList{"Stop", "Speak:first", "Stop", "Speak:second"}));
    }

    void failingOutputEndsTheScan() {
        WindowFixture f;
        f.window->SayList[0]->setText("c:/bell.wav");
        f.window->TimeList[1]->setText("00:00:02");
        f.starter.fail = true;
        spokenDuring(f, 2);
        QVERIFY(f.window->Errors().LastMessage().contains(u"mplayer2.exe c:/bell.wav"));
        QVERIFY(!f.speech.spoken().contains("Click the reset buttun to restart the clock"));
        f.tickAt(10, 0, 2); // that second is not scanned again
        QCOMPARE(f.window->Errors().ErrorCount(), 1);
    }

    void scanWaitsWhenTheClockIsSetBack() {
        WindowFixture g(QTime(11, 0, 0));
        g.tickAt(11, 0, 0);
        g.speech.calls.clear();
        g.window->ElapsedActual[0]->setText("A");
        g.window->TimeList[0]->setText("10:30:00");
        g.tickAt(10, 0, 0); // the clock set back an hour: silent until 11:00:01
        g.tickAt(10, 30, 0);
        g.tickAt(10, 59, 59);
        QVERIFY(g.speech.spoken().isEmpty());
        QCOMPARE(g.window->Variables().LastScannedSecond, 39600);
        g.tickAt(11, 0, 1);
        QCOMPARE(g.window->Variables().LastScannedSecond, 39601);
    }
};

QTEST_MAIN(tst_Schedule)
#include "tst_schedule.moc"
