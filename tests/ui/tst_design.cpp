// The window as created, before its load event: every control's place, text and tooltip, the tab
// chain, the clock font and the two pictures.
#include "ClickableLabel.h"
#include "Fakes.h"
#include "SpeechIndicator.h"
#include "frmHoravox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

struct Design {
    QString name;
    int left, top, width, height;
    QString text;
    QString toolTip;
};

const QString Player = R"(c:\windows\media\tada.wav)";

std::vector<Design> designTable() {
    std::vector<Design> table{
        {"cmdClearPhrases", 8760, 6840, 1335, 375, "Clear Phrases",
         "Click here to clear all phrases."},
        {"cboDisplayMode", 6240, 360, 1455, 315, "Small Time",
         "Used to select display mode (small, big, or show phrases)."},
        {"cboTimerMode", 4080, 360, 855, 315, "Up",
         R"(Selects elapsed time ("Up") or remaining time ("Down"))"},
        {"TimerStart", 5160, 360, 855, 285, "00:00:00", "Used to enter initial timer value."},
        {"cmdHelp", 1200, 360, 735, 375, "Help", "Displays help file."},
        {"txtTimer", 240, 840, 1725, 495, "timer", "The timer (elapsed or remaining)."},
        {"txtTime", 2160, 840, 1725, 495, "time", "The actual time."},
        {"txtSayThisNow", 1680, 6360, 8400, 285, "This is a test", ""},
        {"cmdSayThisNow", 240, 6360, 1335, 255, "Say This Now", "Click here to test a phrase."},
        {"cboSelectVoice", 2160, 360, 1725, 315, "cboSelectVoice", "Selects voice."},
        {"cmdReset", 240, 360, 735, 375, "Reset", R"(Resets timer to "Timer Start" value.)"},
        {"TextToSpeech1", 7800, 120, 975, 735, "", "Just for show."},
        {"Image1", 9000, 120, 675, 1335, "", ""},
        {"Label3", 6240, 120, 1455, 255, "Display Mode", ""},
        {"Label2", 4080, 120, 855, 255, "Timer Mode", ""},
        {"Label1", 5160, 120, 855, 255, "Timer Start", ""},
        {"txtSelectVoice", 2160, 120, 1695, 255, "Voice Selector", ""},
        {"Help(0)", 360, 6720, 975, 255, "Instructions:", ""},
        {"Help(1)", 360, 6960, 8535, 255,
         R"(Enter "E" for Elapsed Time or "A" for Actual Time in first column.)", ""},
        {"Help(2)", 360, 7200, 8535, 255,
         R"(Enter Elapsed or Actual Time in format "HH:MM:SS" in second column.)", ""},
        {"Help(3)", 360, 7440, 8535, 255,
         R"(Enter phrase to be spoken in third column (e.g., "This is a test" or ")" + Player +
             R"(").)",
         ""},
        {"Help(4)", 360, 7680, 8535, 255,
         R"(A phrase can be tested by typing in last row and clicking the "Say This Now" button.)",
         ""},
    };
    const QStringList kinds{"E", "E", "E", "E", "E", "E", "E", "E", "E", "A"};
    const QStringList times{"00:00:02", "00:00:05", "00:00:10", "00:00:15", "00:00:25",
                            "00:00:00", "00:00:00", "00:00:00", "01:20:00", "22:00:00"};
    for (int i = 0; i < 10; ++i) {
        const int top = 1560 + 480 * i;
        const QString row = QStringLiteral("(%1)").arg(i);
        table.push_back({"ElapsedActual" + row, 240, top, 255, 285, kinds[i],
                         i == 0 ? R"(Enter "E" for elapsed time or "A" for actual time.)" : ""});
        table.push_back({"TimeList" + row, 600, top, 975, 285, times[i],
                         i == 0 ? R"(Enter elapsed or actual time in format "HH:MM:SS".)" : ""});
    }
    return table;
}

QString textOf(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

int px(int twips) {
    return qRound(twips / 15.0);
}

} // namespace

class tst_Design : public QObject {
    Q_OBJECT
    FakeClock clock;
    RecordingSpeech speech;
    RecordingStarter starter;

private slots:
    void everyControlAsDesigned() {
        frmHoravox window(clock, speech, starter, noFrame());
        QCOMPARE(window.windowTitle(), QStringLiteral("Horavox v2.0"));
        QCOMPARE(window.size(), QSize(px(10365), px(8850)));
        for (const Design& d : designTable()) {
            const auto* control = window.findChild<QWidget*>(d.name);
            QVERIFY2(control, qPrintable(d.name));
            QCOMPARE(control->geometry(), QRect(px(d.left), px(d.top), px(d.width), px(d.height)));
            QCOMPARE(textOf(control), d.text);
            QCOMPARE(control->toolTip(), d.toolTip);
            QVERIFY(!control->isHidden());
        }
        QCOMPARE(window.SayList[4]->text(),
                 QStringLiteral("The letter ee, indicates elapsed time "
                                "and the letter eh, indicates actual time"));
        QCOMPARE(window.SayList[9]->geometry(), QRect(px(1680), px(5880), px(8400), px(285)));
        QVERIFY(window.SayList[0]->toolTip().isEmpty());
        QCOMPARE(window.Label2->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QCOMPARE(window.Help[1]->alignment() & Qt::AlignHCenter, Qt::Alignment{});
        QCOMPARE(window.cboDisplayMode->itemText(2), QStringLiteral("Show Phrases"));
        QCOMPARE(window.cboTimerMode->count(), 2);
    }

    void tabChain() {
        frmHoravox window(clock, speech, starter, noFrame());
        QStringList expected{"txtTimer", "txtTime", "cmdReset", "cboSelectVoice"};
        for (int i = 9; i >= 0; --i)
            expected << QStringLiteral("ElapsedActual(%1)").arg(i);
        expected << "cmdSayThisNow"
                 << "txtSayThisNow";
        for (const auto& [array, from, to] : {std::tuple{"SayList", 9, 6},
                                              {"TimeList", 9, 6},
                                              {"SayList", 5, 2},
                                              {"TimeList", 5, 0}})
            for (int i = from; i >= to; --i)
                expected << QStringLiteral("%1(%2)").arg(array).arg(i);
        expected << "SayList(0)"
                 << "SayList(1)"
                 << "cmdHelp"
                 << "TimerStart"
                 << "cboTimerMode"
                 << "cboDisplayMode"
                 << "cmdClearPhrases";

        QStringList walked;
        QWidget* at = window.txtTimer;
        do {
            if (expected.contains(at->objectName()) && !walked.contains(at->objectName()))
                walked << at->objectName();
            at = at->nextInFocusChain();
        } while (at != window.txtTimer);
        QCOMPARE(walked, expected);
        QCOMPARE(window.TextToSpeech1->focusPolicy(), Qt::NoFocus);
    }

    void everyFocusStopHasAnAccessibleName() {
        frmHoravox window(clock, speech, starter, noFrame());
        window.show();
        QStringList unnamed;
        int named = 0;
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            auto* widget = qobject_cast<QWidget*>(node->object());
            if (widget && widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty())
                node->text(QAccessible::Name).isEmpty() ? unnamed << widget->objectName()
                                                        : (++named, unnamed);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(&window));
        QCOMPARE(unnamed, QStringList{});
        QCOMPARE(named, 41);
        QCOMPARE(window.SayList[2]->accessibleName(), QStringLiteral("Row 3, phrase"));
    }

    void clockFont() {
        frmHoravox window(clock, speech, starter, noFrame());
        const QFontInfo font(window.txtTimer->font());
        QVERIFY2(font.family() == "Liberation Sans" || font.family() == "Arial",
                 qPrintable(font.family()));
        QVERIFY(font.bold());
        QCOMPARE(window.txtTime->font().pointSize(), 18);
    }

    void pictures() {
        QFile icon(":/horavox.ico");
        QVERIFY(icon.open(QIODevice::ReadOnly));
        const QByteArray ico = icon.readAll();
        QCOMPARE(ico.size(), 1078);
        QCOMPARE(ico.mid(0, 6), QByteArray("\0\0\1\0\2\0", 6));
        for (int entry = 0; entry < 2; ++entry) {
            const QByteArray e = ico.mid(6 + 16 * entry, 16);
            QCOMPARE(int(uchar(e[0])), entry == 0 ? 32 : 16);
            QCOMPARE(int(uchar(e[2])), 16); // colours
            QCOMPARE(int(uchar(e[6])), 4);  // bits per pixel
        }
        QFile picture(":/hourglass.gif");
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray gif = picture.readAll();
        QVERIFY(gif.startsWith("GIF89a"));
        QCOMPARE(int(uchar(gif[6])) | int(uchar(gif[7])) << 8, 45);
        QCOMPARE(int(uchar(gif[8])) | int(uchar(gif[9])) << 8, 89);
        QCOMPARE(int(uchar(gif[10])) & 0x87, 0x87); // a global table of 256 colours
        const int descriptor = 13 + 3 * 256;
        QCOMPARE(gif[descriptor], ',');
        QVERIFY(uchar(gif[descriptor + 9]) & 0x40); // interlaced
        QVERIFY(!gif.contains("NETSCAPE2.0"));      // not animated
        QCOMPARE(gif.count(QByteArray(",\0\0\0\0", 5)), 1);

        frmHoravox window(clock, speech, starter, noFrame());
        QCOMPARE(window.Image1->pixmap().size(), QSize(45, 89));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    }
};

QTEST_MAIN(tst_Design)
#include "tst_design.moc"
