// The three display modes, chosen as the user chooses them, and the window's vertical unit.
#include "ClickableLabel.h"
#include "WindowFixture.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace {

int px(double twips) {
    return qRound(twips / 15.0);
}

// The window heights in the order the window took them.
class HeightRecorder : public QObject {
public:
    QList<int> heights;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            heights << static_cast<QResizeEvent*>(event)->size().height();
        return false;
    }
};

bool tableShown(const frmHoravox& w) {
    return !w.SayList[9]->isHidden() && !w.ElapsedActual[0]->isHidden() && !w.Help[4]->isHidden() &&
           !w.cmdClearPhrases->isHidden();
}

bool tableHidden(const frmHoravox& w) {
    for (std::size_t i = 0; i < 10; ++i)
        if (!w.SayList[i]->isHidden() || !w.TimeList[i]->isHidden() ||
            !w.ElapsedActual[i]->isHidden())
            return false;
    return w.Help[0]->isHidden() && w.Help[4]->isHidden() && w.cmdClearPhrases->isHidden();
}

// Desktops as they tell the window's frame: none (a bare X server), before the window is shown (an
// X11 window manager), or only once it is shown (Qt's own decorations on Wayland).
void frameRows() {
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<bool>("toldWhenShown");
    QTest::addRow("no frame") << QMargins() << false;
    QTest::addRow("window manager") << QMargins(1, 20, 1, 5) << false;
    QTest::addRow("told when shown") << QMargins(3, 30, 3, 3) << true;
}

// The design's window height less the frame, in pixels.
int client(int outerTwips, const QMargins& frame) {
    return px(outerTwips - 15 * (frame.top() + frame.bottom()));
}

// The free room of the screen holds the whole window, frame included.
bool onScreen(const frmHoravox& w, const QMargins& frame) {
    return w.screen()->availableGeometry().contains(w.geometry().marginsAdded(frame));
}

// Room for the text inside a line edit's frame and margins, whatever the subclass.
QSize textRoom(const QLineEdit& box) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect r = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins m = box.textMargins();
    return {r.width() - m.left() - m.right() - 4, r.height() - m.top() - m.bottom()};
}

} // namespace

class tst_Layouts : public QObject {
    Q_OBJECT
private slots:
    void startsInSmallTime_data() { frameRows(); }
    void startsInSmallTime() {
        QFETCH(QMargins, frame);
        QFETCH(bool, toldWhenShown);
        WindowFixture f(QTime(10, 0), frame, toldWhenShown);
        frmHoravox& w = *f.window;
        w.show();
        const QPoint design = w.screen()->availableGeometry().topLeft() + QPoint(px(540), px(660));
        QCOMPARE(w.geometry().topLeft(), design);
        QCOMPARE(w.height(), client(1900, frame));
        const double shortUnit = (1900 - 15.0 * (frame.top() + frame.bottom())) / 1440;
        QCOMPARE(w.Unit().TwipsPerUnit(), shortUnit);
        QCOMPARE(w.txtTimer->geometry(), QRect(px(240), px(840), px(1725), px(495)));
        QCOMPARE(w.cboDisplayMode->currentText(), QStringLiteral("Small Time"));
        QVERIFY(tableShown(w)); // visible, but below the short window's client area
        if (!frame.isNull())
            QVERIFY(w.SayList[0]->y() >= w.height());

        f.choose(w.cboDisplayMode, 0); // the clocks in the short unit; the window stays
        QCOMPARE(w.height(), client(1900, frame));
        QCOMPARE(w.Unit().TwipsPerUnit(), shortUnit);
        QCOMPARE(w.txtTime->geometry(),
                 QRect(px(2160), px(840 * shortUnit), px(1725), px(495 * shortUnit)));
        QVERIFY(w.txtTime->geometry().bottom() < w.height());
        QCOMPARE(w.geometry().topLeft(), design);
    }

    void bigTimeStraightAfterStartUsesTheShortUnit_data() { frameRows(); }
    void bigTimeStraightAfterStartUsesTheShortUnit() {
        QFETCH(QMargins, frame);
        QFETCH(bool, toldWhenShown);
        WindowFixture f(QTime(10, 0), frame, toldWhenShown);
        f.window->show();
        f.choose(f.window->cboDisplayMode, 1);
        const double shortUnit = (1900 - 15.0 * (frame.top() + frame.bottom())) / 1440;
        QCOMPARE(f.window->txtTimer->geometry(),
                 QRect(px(240), px(1500 * shortUnit), px(9855), px(2500 * shortUnit)));
        QCOMPARE(f.window->txtTime->y(), px(4800 * shortUnit));
        if (!frame.isNull()) // no frame: the short unit is 1900 / 1440 and the box runs off
            QVERIFY(f.window->txtTime->geometry().bottom() < f.window->height());
        QCOMPARE(f.window->txtTime->font().pointSize(), 100);
        QCOMPARE(f.window->height(), client(8415, frame));
        QVERIFY(onScreen(*f.window, frame)); // moved up on the offscreen 800 x 600 screen
        QVERIFY(tableHidden(*f.window));
        QVERIFY(!f.window->txtSayThisNow->isHidden());

        f.choose(f.window->cboDisplayMode, 0); // small clocks in the tall window's unit
        const double tallUnit = (8415 - 15.0 * (frame.top() + frame.bottom())) / 8010;
        QCOMPARE(f.window->txtTime->geometry(),
                 QRect(px(2160), px(840 * tallUnit), px(1725), px(495 * tallUnit)));
        QCOMPARE(f.window->height(), client(1900, frame));
        QVERIFY(tableHidden(*f.window));
    }

    void showPhrasesGoesShortThenTall_data() { frameRows(); }
    void showPhrasesGoesShortThenTall() {
        QFETCH(QMargins, frame);
        QFETCH(bool, toldWhenShown);
        WindowFixture f(QTime(10, 0), frame, toldWhenShown);
        f.window->show();
        f.choose(f.window->cboDisplayMode, 1);
        HeightRecorder recorder;
        f.window->installEventFilter(&recorder);
        f.choose(f.window->cboDisplayMode, 2);
        QCOMPARE(recorder.heights, (QList<int>{client(1900, frame), client(8415, frame)}));
        QVERIFY(tableShown(*f.window));
        QCOMPARE(f.window->txtTimer->font().pointSize(), 18);

        f.choose(f.window->cboDisplayMode, 0); // the table stays visible, out of sight
        QVERIFY(tableShown(*f.window));
        QCOMPARE(f.window->height(), client(1900, frame));
    }

    void clockTextsFitTheirBoxes_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("text");
        QTest::addRow("small, a time") << 0 << "00:00:00";
        QTest::addRow("small, below zero") << 0 << "- 00:00:05";
        QTest::addRow("big, below zero") << 1 << "- 00:00:05";
    }
    void clockTextsFitTheirBoxes() {
        QFETCH(int, layout);
        QFETCH(QString, text);
        WindowFixture f;
        if (layout)
            f.choose(f.window->cboDisplayMode, layout);
        for (QLineEdit* box : {f.window->txtTimer, f.window->txtTime}) {
            const QFontMetrics metrics(box->font());
            const QSize room = textRoom(*box);
            QVERIFY2(metrics.horizontalAdvance(text) <= room.width() &&
                         metrics.height() <= room.height(),
                     qPrintable(QStringLiteral("%1 in %2 x %3 for %4 x %5")
                                    .arg(box->objectName())
                                    .arg(room.width())
                                    .arg(room.height())
                                    .arg(metrics.horizontalAdvance(text))
                                    .arg(metrics.height())));
        }
    }

    void otherTextsChangeNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addRow("lower case") << "big time";
        QTest::addRow("trailing blank") << "Show Phrases ";
        QTest::addRow("empty") << "";
    }
    void otherTextsChangeNothing() {
        QFETCH(QString, text);
        WindowFixture f;
        const QSize size = f.window->size();
        const QRect timer = f.window->txtTimer->geometry();
        f.window->cboDisplayMode->setEditText(text);
        f.window->cboDisplayMode_Click();
        QCOMPARE(f.window->size(), size);
        QCOMPARE(f.window->txtTimer->geometry(), timer);
        QCOMPARE(f.window->Unit().TwipsPerUnit(), 1900.0 / 1440);
    }
};

QTEST_MAIN(tst_Layouts)
#include "tst_layouts.moc"
