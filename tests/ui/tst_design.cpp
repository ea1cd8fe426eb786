// The window as created, before its load event: how its controls stand against each other, the
// texts most easily mistyped, the tab chain, the clock font and the two pictures.
#include "ClickableLabel.h"
#include "Fakes.h"
#include "SpeechIndicator.h"
#include "frmHoravox.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

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

// Left to right on one top edge, each clear of the next.
void checkInALine(std::initializer_list<const QWidget*> controls) {
    const QWidget* previous = nullptr;
    for (const QWidget* control : controls) {
        if (previous) {
            QCOMPARE(control->y(), previous->y());
            QVERIFY2(previous->geometry().right() < control->x(),
                     qPrintable(control->objectName()));
        }
        previous = control;
    }
}

void checkLeftEdge(std::initializer_list<const QWidget*> controls) {
    for (const QWidget* control : controls)
        QCOMPARE(control->x(), (*controls.begin())->x());
}

void textRow(const char* row, const char* control, const QString& text, const QString& toolTip) {
    QTest::newRow(row) << QString(control) << text << toolTip;
}

} // namespace

class tst_Design : public QObject {
    Q_OBJECT
    FakeClock clock;
    RecordingSpeech speech;
    RecordingStarter starter;

private slots:
    void controlsStandInRowsAndColumns() {
        const frmHoravox w(clock, speech, starter);
        QCOMPARE(w.windowTitle(), QStringLiteral("Horavox v2.0"));
        QCOMPARE(w.size(), QSize(10365, 8850) / 15.0);
        checkInALine({w.cmdReset, w.cmdHelp, w.cboSelectVoice, w.cboTimerMode, w.TimerStart,
                      w.cboDisplayMode});
        checkInALine({w.txtSelectVoice, w.Label2, w.Label1, w.Label3, w.TextToSpeech1, w.Image1});
        QCOMPARE(w.cmdHelp->size(), w.cmdReset->size());
        QCOMPARE(w.cboTimerMode->height(), w.cboSelectVoice->height());
        QCOMPARE(w.cboDisplayMode->height(), w.cboSelectVoice->height());
        checkInALine({w.txtTimer, w.txtTime});
        QCOMPARE(w.txtTime->size(), w.txtTimer->size());
        checkLeftEdge({w.txtTimer, w.cmdReset, w.ElapsedActual[0], w.cmdSayThisNow});
        checkLeftEdge({w.txtTime, w.cboSelectVoice});

        // Rows at an even pitch, and the say-this-now row one pitch below the last.
        const int pitch = w.SayList[1]->y() - w.SayList[0]->y();
        QVERIFY(pitch > w.SayList[0]->height());
        for (std::size_t i = 0; i < PhraseRowCount; ++i) {
            checkInALine({w.ElapsedActual[i], w.TimeList[i], w.SayList[i]});
            const QPoint down(0, pitch * int(i));
            QCOMPARE(w.ElapsedActual[i]->geometry(),
                     w.ElapsedActual[0]->geometry().translated(down));
            QCOMPARE(w.TimeList[i]->geometry(), w.TimeList[0]->geometry().translated(down));
            QCOMPARE(w.SayList[i]->geometry(), w.SayList[0]->geometry().translated(down));
        }
        QCOMPARE(w.txtSayThisNow->geometry(), w.SayList[9]->geometry().translated(0, pitch));
        checkInALine({w.cmdSayThisNow, w.txtSayThisNow});

        // The instruction lines below it, evenly spaced; the first is the short heading.
        QVERIFY(w.Help[0]->y() > w.txtSayThisNow->geometry().bottom());
        const int linePitch = w.Help[2]->y() - w.Help[1]->y();
        for (std::size_t i = 0; i < w.Help.size(); ++i) {
            QCOMPARE(w.Help[i]->pos(), w.Help[0]->pos() + QPoint(0, linePitch * int(i)));
            QCOMPARE(w.Help[i]->alignment() & Qt::AlignHCenter, Qt::Alignment{});
        }
        QVERIFY(w.Help[0]->width() < w.Help[1]->width());

        const QRect client(QPoint(), w.size());
        const auto controls = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* a : controls) {
            QVERIFY2(client.contains(a->geometry()) && !a->isHidden(), qPrintable(a->objectName()));
            for (const QWidget* b : controls)
                if (a != b && a->focusPolicy() & Qt::TabFocus && b->focusPolicy() & Qt::TabFocus)
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
        }
        QCOMPARE(w.cboDisplayMode->itemText(2), QStringLiteral("Show Phrases"));
        QCOMPARE(w.cboTimerMode->count(), 2);
    }

    void captionsStandDirectlyAboveTheirControls() {
        const frmHoravox w(clock, speech, starter);
        for (const auto& [caption, control] : {std::pair<QLabel*, QWidget*>{w.Label1, w.TimerStart},
                                               {w.Label2, w.cboTimerMode},
                                               {w.Label3, w.cboDisplayMode},
                                               {w.txtSelectVoice, w.cboSelectVoice}}) {
            QCOMPARE(caption->x(), control->x());
            const int gap = control->y() - caption->geometry().bottom();
            QVERIFY2(gap == 0 || gap == 1, qPrintable(caption->text())); // touching, to a pixel
            QCOMPARE(caption->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
            QCOMPARE(caption->width() == control->width(), caption != w.txtSelectVoice);
            QCOMPARE(control->accessibleName(), caption->text());
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        textRow("timer mode, no full stop", "cboTimerMode", "Up",
                R"(Selects elapsed time ("Up") or remaining time ("Down"))");
        textRow("reset", "cmdReset", "Reset", R"(Resets timer to "Timer Start" value.)");
        textRow("first kind", "ElapsedActual(0)", "E",
                R"(Enter "E" for elapsed time or "A" for actual time.)");
        textRow("first time", "TimeList(0)", "00:00:02",
                R"(Enter elapsed or actual time in format "HH:MM:SS".)");
        textRow("later kind", "ElapsedActual(9)", "A", "");
        textRow("later time", "TimeList(1)", "00:00:05", "");
        textRow("phrase", "SayList(0)", "Horavox", "");
        textRow("voice list before load", "cboSelectVoice", "cboSelectVoice", "Selects voice.");
        textRow("speech control", "TextToSpeech1", "", "Just for show.");
        textRow("line 1", "Help(1)",
                R"(Enter "E" for Elapsed Time or "A" for Actual Time in first column.)", "");
        textRow("line 2", "Help(2)",
                R"(Enter Elapsed or Actual Time in format "HH:MM:SS" in second column.)", "");
        textRow("line 3", "Help(3)",
                R"(Enter phrase to be spoken in third column (e.g., "This is a test" or )"
                R"("c:\windows\media\tada.wav").)",
                "");
        textRow("line 4", "Help(4)",
                R"(A phrase can be tested by typing in last row and clicking the "Say This Now" )"
                R"(button.)",
                "");
    }
    void texts() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        const frmHoravox window(clock, speech, starter);
        const auto* widget = window.findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(textOf(widget), text);
        QCOMPARE(widget->toolTip(), toolTip);
    }

    void tabChain() {
        frmHoravox window(clock, speech, starter);
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
        frmHoravox window(clock, speech, starter);
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
        frmHoravox window(clock, speech, starter);
        const QFontInfo font(window.txtTimer->font());
        QVERIFY2(font.family() == "Liberation Sans" || font.family() == "Arial",
                 qPrintable(font.family()));
        QVERIFY(font.bold());
        QCOMPARE(window.txtTime->font().pointSize(), 18);
    }

    void pictures() {
        QImageReader icon(":/horavox.ico");
        QCOMPARE(icon.imageCount(), 2);
        for (const int side : {32, 16}) {
            const QImage image = icon.read();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(image.text("_q_icoOrigDepth"), QStringLiteral("4")); // 16 colours
            icon.jumpToNextImage();
        }
        QImageReader picture(":/hourglass.gif");
        QCOMPARE(picture.format(), QByteArray("gif"));
        QCOMPARE(picture.imageCount(), 1); // not animated
        QCOMPARE(picture.read().size(), QSize(45, 89));
        QFile gif(":/hourglass.gif");
        QVERIFY(gif.open(QIODevice::ReadOnly));
        QCOMPARE(gif.read(11).at(10) & 0x87, 0x87); // a global table of 256 colours

        frmHoravox window(clock, speech, starter);
        QCOMPARE(window.Image1->size(), QSize(45, 89));
        QCOMPARE(window.Image1->pixmap().size(), QSize(45, 89));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    }
};

QTEST_MAIN(tst_Design)
#include "tst_design.moc"
