// The window as created, before its load event: how its controls stand against each other, the tab
// chain, the clock font and the two pictures.
#include "ClickableLabel.h"
#include "Fakes.h"
#include "SpeechIndicator.h"
#include "frmHoravox.h"

#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Left to right on one top edge, each clear of the next.
void checkInALine(std::initializer_list<const QWidget*> controls) {
    for (auto at = controls.begin() + 1; at < controls.end(); ++at) {
        QCOMPARE((*at)->y(), at[-1]->y());
        QVERIFY2(at[-1]->geometry().right() < (*at)->x(), qPrintable((*at)->objectName()));
    }
}

} // namespace

class tst_Design : public QObject {
    Q_OBJECT
    FakeClock clock;
    RecordingSpeech speech;
    RecordingStarter starter;
    std::unique_ptr<frmHoravox> window;

private slots:
    void init() { window = std::make_unique<frmHoravox>(clock, speech, starter, noFrame()); }

    void controlsLineUp() {
        const frmHoravox& w = *window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Horavox v2.0"));
        QCOMPARE(w.size(), QSize(10365, 8850) / 15.0);
        // Along the top a strip of captions over a strip of controls, each caption directly above
        // the control it names, at its left edge.
        checkInALine({w.txtSelectVoice, w.Label2, w.Label1, w.Label3, w.TextToSpeech1, w.Image1});
        checkInALine({w.cmdReset, w.cmdHelp, w.cboSelectVoice, w.cboTimerMode, w.TimerStart,
                      w.cboDisplayMode});
        for (const auto& [caption, control] : {std::pair<QLabel*, QWidget*>{w.Label1, w.TimerStart},
                                               {w.Label2, w.cboTimerMode},
                                               {w.Label3, w.cboDisplayMode},
                                               {w.txtSelectVoice, w.cboSelectVoice}}) {
            QCOMPARE(caption->x(), control->x());
            const int gap = control->y() - caption->geometry().bottom();
            QVERIFY2(gap == 0 || gap == 1, qPrintable(caption->text())); // touching, to a pixel
            QCOMPARE(caption->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
            QCOMPARE(caption->width() == control->width(), caption != w.txtSelectVoice);
        }
        QCOMPARE(w.cmdHelp->size(), w.cmdReset->size());
        checkInALine({w.txtTimer, w.txtTime});
        QCOMPARE(w.txtTime->size(), w.txtTimer->size());

        // Phrase rows at an even pitch, the say-this-now row one pitch below the last, all on the
        // left edge of the timer; then the instruction lines, evenly spaced.
        const int pitch = w.SayList[1]->y() - w.SayList[0]->y();
        QVERIFY(pitch > w.SayList[0]->height());
        for (std::size_t i = 0; i < PhraseRowCount; ++i) {
            checkInALine({w.ElapsedActual[i], w.TimeList[i], w.SayList[i]});
            for (const auto& column : {w.ElapsedActual, w.TimeList, w.SayList})
                QCOMPARE(column[i]->geometry(),
                         column[0]->geometry().translated(0, pitch * int(i)));
        }
        QCOMPARE(w.txtSayThisNow->geometry(), w.SayList[9]->geometry().translated(0, pitch));
        checkInALine({w.cmdSayThisNow, w.txtSayThisNow});
        for (const QWidget* control :
             std::initializer_list<const QWidget*>{w.txtTimer, w.cmdReset, w.cmdSayThisNow})
            QCOMPARE(control->x(), w.ElapsedActual[0]->x());
        QVERIFY(w.Help[0]->y() > w.txtSayThisNow->geometry().bottom());
        const int linePitch = w.Help[1]->y() - w.Help[0]->y();
        for (std::size_t i = 0; i < w.Help.size(); ++i) {
            QCOMPARE(w.Help[i]->pos(), w.Help[0]->pos() + QPoint(0, linePitch * int(i)));
            QCOMPARE(w.Help[i]->alignment() & Qt::AlignHCenter, Qt::Alignment{});
        }

        const QRect client(QPoint(), w.size());
        const auto controls = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* a : controls) {
            QVERIFY2(client.contains(a->geometry()) && !a->isHidden(), qPrintable(a->objectName()));
            for (const QWidget* b : controls)
                if (a != b && a->focusPolicy() & Qt::TabFocus && b->focusPolicy() & Qt::TabFocus)
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
        }
    }

    void tabChain() {
        QStringList expected{"txtTimer", "txtTime", "cmdReset", "cboSelectVoice"};
        const auto down = [&](const char* array, int from, int to) {
            for (int i = from; i >= to; --i)
                expected << QStringLiteral("%1(%2)").arg(array).arg(i);
        };
        down("ElapsedActual", 9, 0);
        expected += {"cmdSayThisNow", "txtSayThisNow"};
        down("SayList", 9, 6);
        down("TimeList", 9, 6);
        down("SayList", 5, 2);
        down("TimeList", 5, 0);
        expected += {"SayList(0)",   "SayList(1)",     "cmdHelp",        "TimerStart",
                     "cboTimerMode", "cboDisplayMode", "cmdClearPhrases"};
        QStringList walked;
        QWidget* at = window->txtTimer;
        do {
            if (expected.contains(at->objectName()) && !walked.contains(at->objectName()))
                walked << at->objectName();
            at = at->nextInFocusChain();
        } while (at != window->txtTimer);
        QCOMPARE(walked, expected);
        QCOMPARE(window->TextToSpeech1->focusPolicy(), Qt::NoFocus);
    }

    void clockFont() {
        const QFontInfo font(window->txtTimer->font());
        QVERIFY2(font.family() == "Liberation Sans" || font.family() == "Arial",
                 qPrintable(font.family()));
        QVERIFY(font.bold());
        QCOMPARE(window->txtTime->font().pointSize(), 18);
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
        QCOMPARE(picture.imageCount(), 1); // not animated
        QCOMPARE(picture.read().size(), QSize(45, 89));
        QFile gif(":/hourglass.gif");
        QVERIFY(gif.open(QIODevice::ReadOnly));
        QCOMPARE(gif.read(11).at(10) & 0x87, 0x87); // a global table of 256 colours
        QCOMPARE(window->Image1->pixmap().size(), QSize(45, 89));
        QCOMPARE(window->Image1->size(), QSize(45, 89)); // its own size, not stretched
        const auto sizes = window->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
    }
};

QTEST_MAIN(tst_Design)
#include "tst_design.moc"
