// The three display modes, chosen as the user chooses them, and the window's vertical unit.
#include "ClickableLabel.h"
#include "WindowFixture.h"

#include <QPushButton>
#include <QResizeEvent>
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

} // namespace

class tst_Layouts : public QObject {
    Q_OBJECT
private slots:
    void startsInSmallTime() {
        WindowFixture f;
        QCOMPARE(f.window->height(), px(1900)); // no frame offscreen, as under a bare X server
        QCOMPARE(f.window->Unit().TwipsPerUnit(), 1900.0 / 1440);
        QCOMPARE(f.window->txtTimer->geometry(), QRect(px(240), px(840), px(1725), px(495)));
        QCOMPARE(f.window->cboDisplayMode->currentText(), QStringLiteral("Small Time"));
        QVERIFY(tableShown(*f.window)); // visible, but below the short window's client area
        QVERIFY(f.window->SayList[0]->y() + f.window->SayList[0]->height() <= px(1900));
    }

    void bigTimeStraightAfterStartUsesTheShortUnit() {
        WindowFixture f;
        f.choose(f.window->cboDisplayMode, 1);
        const double shortUnit = 1900.0 / 1440;
        QCOMPARE(f.window->txtTimer->geometry(),
                 QRect(px(240), px(1500 * shortUnit), px(9855), px(2500 * shortUnit)));
        QCOMPARE(f.window->txtTime->y(), px(4800 * shortUnit));
        QCOMPARE(f.window->txtTime->font().pointSize(), 100);
        QCOMPARE(f.window->height(), px(8415));
        QCOMPARE(f.window->Unit().TwipsPerUnit(), 8415.0 / 8010);
        QVERIFY(tableHidden(*f.window));
        QVERIFY(!f.window->txtSayThisNow->isHidden());

        f.choose(f.window->cboDisplayMode, 0); // small clocks in the tall window's unit
        QCOMPARE(f.window->txtTime->geometry(),
                 QRect(px(2160), px(840 * 8415.0 / 8010), px(1725), px(495 * 8415.0 / 8010)));
        QCOMPARE(f.window->height(), px(1900));
        QVERIFY(tableHidden(*f.window));
    }

    void showPhrasesGoesShortThenTall() {
        WindowFixture f;
        f.choose(f.window->cboDisplayMode, 1);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const int frame = (f.window->frameGeometry().height() - f.window->height()) * 15;
        HeightRecorder recorder;
        f.window->installEventFilter(&recorder);
        f.choose(f.window->cboDisplayMode, 2);
        QCOMPARE(recorder.heights, (QList<int>{px(1900 - frame), px(8415 - frame)}));
        QVERIFY(tableShown(*f.window));
        QCOMPARE(f.window->txtTimer->font().pointSize(), 18);

        f.choose(f.window->cboDisplayMode, 0); // the table stays visible, out of sight
        QVERIFY(tableShown(*f.window));
        QCOMPARE(f.window->height(), px(1900 - frame));
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
