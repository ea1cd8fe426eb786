// The window as created, before its load event: its controls against each other, the tab chain,
// the clock font and the pictures (the clocks' places and sizes are the load's: tst_layouts).
#include "WindowFixture.h"
#include "ui/ClickableLabel.h"
#include "ui/SpeechIndicator.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
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
    WindowFixture f{QTime(10, 0), {}, false, false}; // before its load event
    frmHoravox* window = f.window.get();

private slots:

    void controlsAsDesigned() {
        const frmHoravox& w = *window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Horavox v2.0"));
        QCOMPARE(w.size(), QSize(10365, 8850) / 15.0);
        // Along the top a strip of captions over a strip of controls, each caption directly above
        // the control it names, at its left edge.
        using Line = std::initializer_list<const QWidget*>;
        for (const Line line :
             {Line{w.txtSelectVoice, w.Label2, w.Label1, w.Label3, w.TextToSpeech1, w.Image1},
              Line{w.cmdReset, w.cmdHelp, w.cboSelectVoice, w.cboTimerMode, w.TimerStart,
                   w.cboDisplayMode},
              Line{w.cmdSayThisNow, w.txtSayThisNow}})
            checkInALine(line);
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

        // Phrase rows at an even pitch, the say-this-now row one pitch below the last, Reset on
        // their left edge; then the instruction lines, evenly spaced.
        const int pitch = w.SayList[1]->y() - w.SayList[0]->y();
        QVERIFY(pitch > w.SayList[0]->height());
        for (std::size_t i = 0; i < PhraseRowCount; ++i) {
            checkInALine({w.ElapsedActual[i], w.TimeList[i], w.SayList[i]});
            for (const auto& column : {w.ElapsedActual, w.TimeList, w.SayList})
                QCOMPARE(column[i]->geometry(),
                         column[0]->geometry().translated(0, pitch * int(i)));
        }
        QCOMPARE(w.txtSayThisNow->geometry(), w.SayList[9]->geometry().translated(0, pitch));
        QCOMPARE(w.cmdReset->x(), w.ElapsedActual[0]->x());
        QCOMPARE(w.cmdSayThisNow->x(), w.ElapsedActual[0]->x());
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
        // The clock font, and the pictures at their own sizes.
        const QFontInfo font(window->txtTimer->font());
        QVERIFY2(font.family() == "Liberation Sans" || font.family() == "Arial",
                 qPrintable(font.family()));
        QVERIFY(font.bold());
        QCOMPARE(window->Image1->pixmap().size(), QSize(45, 89));
        QCOMPARE(window->Image1->size(), QSize(45, 89)); // not stretched
        const auto sizes = window->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
    }

    void tabChain() {
        const QStringList expected =
            QString(
                "txtTimer txtTime cmdReset cboSelectVoice ElapsedActual(9) ElapsedActual(8) "
                "ElapsedActual(7) ElapsedActual(6) ElapsedActual(5) ElapsedActual(4) "
                "ElapsedActual(3) ElapsedActual(2) ElapsedActual(1) ElapsedActual(0) "
                "cmdSayThisNow txtSayThisNow SayList(9) SayList(8) SayList(7) SayList(6) "
                "TimeList(9) TimeList(8) TimeList(7) TimeList(6) SayList(5) SayList(4) SayList(3) "
                "SayList(2) TimeList(5) TimeList(4) TimeList(3) TimeList(2) TimeList(1) "
                "TimeList(0) SayList(0) SayList(1) cmdHelp TimerStart cboTimerMode cboDisplayMode "
                "cmdClearPhrases")
                .split(' ');
        QStringList walked;
        QWidget* at = window->txtTimer;
        do {
            if (expected.contains(at->objectName()) && !walked.contains(at->objectName()))
                walked << at->objectName();
            at = at->nextInFocusChain();
        } while (at != window->txtTimer);
        QCOMPARE(walked, expected);
        QCOMPARE(window->TextToSpeech1->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window->focusWidget(), window->cmdReset); // not the timer, where a cursor blinks
        // A screen reader's names for boxes that no caption of their own names.
        QCOMPARE(
            (QStringList{window->txtTimer->accessibleName(), window->SayList[9]->accessibleName(),
                         window->cboSelectVoice->lineEdit()->accessibleName()}),
            (QStringList{"Timer", "Row 10, phrase", window->txtSelectVoice->text() + ", text"}));
    }
};

QTEST_MAIN(tst_Design)
#include "tst_design.moc"
