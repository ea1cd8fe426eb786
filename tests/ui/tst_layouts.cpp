// The three display modes, chosen as the user chooses them, and the window's vertical unit.
#include "WindowFixture.h"
#include "platform/WindowFrame.h"
#include "ui/ClickableLabel.h"
#include "ui/ControlGeometry.h"
#include "ui/Twips.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace {

constexpr int Short = 1900, Tall = 8415; // the window's outer heights in twips
enum class Told { BeforeShown, WhenShown, AfterShown };

const auto px = [](double twips) { return qRound(twips / 15.0); };

// The window's new heights and repaints, in the order they came.
class LayoutRecorder : public QObject {
public:
    QStringList events;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            events << QString::number(static_cast<QResizeEvent*>(event)->size().height());
        else if (event->type() == QEvent::Paint)
            events << QStringLiteral("paint");
        return false;
    }
};

// The phrase table, the instruction lines and the clear button, all shown or all hidden.
bool tableIs(const frmHoravox& w, bool shown) {
    for (std::size_t i = 0; i < PhraseRowCount; ++i)
        for (const QWidget* c : {w.SayList[i], w.TimeList[i], w.ElapsedActual[i]})
            if (c->isHidden() == shown)
                return false;
    return w.Help[0]->isHidden() != shown && w.Help[4]->isHidden() != shown &&
           w.cmdClearPhrases->isHidden() != shown;
}

// The clock's widest text shows whole inside a line edit's frame and margins, whatever the
// subclass: its width, and its strokes' height (a short unit may cut the empty ascent above).
bool textFits(const QLineEdit& box) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect r = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins m = box.textMargins();
    const QFontMetrics metrics(box.font());
    const QString widest = QStringLiteral("- 00:00:05");
    return metrics.horizontalAdvance(widest) <= r.width() - m.left() - m.right() - 4 &&
           metrics.tightBoundingRect(widest).height() <= r.height() - m.top() - m.bottom();
}

} // namespace

class tst_Layouts : public QObject {
    Q_OBJECT
private slots:
    // Desktops as they tell the window's frame: none (a bare X server), before the window is shown
    // (an X11 window manager; a Wayland compositor that draws it), only once it is shown (Qt's own
    // decorations on Wayland), or later (a window manager that frames at map, or starts late).
    void displayModes_data() {
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<int>("told");
        QTest::addColumn<QList<int>>("choices");
        const std::tuple<const char*, QMargins, Told> desktops[] = {
            {"no frame", {}, Told::BeforeShown},
            {"window manager", {1, 20, 1, 5}, Told::BeforeShown},
            {"told when shown", {3, 30, 3, 3}, Told::WhenShown},
            {"told after shown", {0, 41, 0, 0}, Told::AfterShown},
            {"compositor draws it", CompositorDrawnFrame({}), Told::BeforeShown}};
        for (const auto& [desktop, frame, told] : desktops) {
            QTest::addRow("%s: small, big, phrases, small", desktop)
                << frame << int(told) << QList<int>{0, 1, 2, 0};
            QTest::addRow("%s: big straight after start, small", desktop)
                << frame << int(told) << QList<int>{1, 0};
        }
    }
    void displayModes() {
        QFETCH(QMargins, frame);
        QFETCH(int, told);
        QFETCH(QList<int>, choices);
        WindowFixture f(QTime(10, 0), told == int(Told::AfterShown) ? QMargins() : frame,
                        told == int(Told::WhenShown));
        frmHoravox& w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w)); // repainted by each layout from now on
        double frameTwips = 0;
        // Whatever the frame, the short window keeps its clocks in sight and the tall one the
        // last instruction line.
        const auto clientTwips = [&](int outer) {
            return std::max(outer - frameTwips, outer == Tall ? 7935.0 : 1335.0);
        };
        const auto client = [&](int outer) { return px(clientTwips(outer)); };
        const auto unitOf = [&](int outer) {
            return clientTwips(outer) / (outer == Short ? 1440.0 : 8010.0);
        };
        const QRect smallTimer(px(240), px(840), px(1725), px(495));
        if (told == int(Told::AfterShown)) {
            QCOMPARE(w.height(), client(Short));
            f.frame.tell(frame);
        }
        frameTwips = 15 * (frame.top() + frame.bottom());
        const QPoint design = w.screen()->availableGeometry().topLeft() + QPoint(px(540), px(660));
        QCOMPARE(w.geometry().topLeft(), design);
        QCOMPARE(w.height(), client(Short));
        QCOMPARE(w.Unit().TwipsPerUnit(), unitOf(Short));
        QCOMPARE(w.txtTimer->geometry(), smallTimer); // a frame told late moves no control
        QCOMPARE(w.cboDisplayMode->currentText(), QStringLiteral("Small Time"));
        QVERIFY(tableIs(w, true)); // shown, but below the short window's client area
        if (!frame.isNull())
            QVERIFY(w.SayList[0]->y() >= w.height());

        int outer = Short;
        bool table = true;
        for (const int choice : choices) {
            const double unit = unitOf(outer); // placed in the unit of the window it finds
            LayoutRecorder recorder;
            w.installEventFilter(&recorder);
            f.choose(w.cboDisplayMode, choice);
            if (choice == 1) {
                QCOMPARE(w.txtTimer->geometry(),
                         QRect(px(240), px(1500 * unit), px(9855), px(2500 * unit)));
                QCOMPARE(w.txtTime->geometry(),
                         QRect(px(240), px(4800 * unit), px(9855), px(2500 * unit)));
                if (!frame.isNull()) // no frame: the short unit is 1900 / 1440 and the box runs off
                    QVERIFY(w.txtTime->geometry().bottom() < w.height());
                QCOMPARE(w.txtTime->font().pointSize(), 100);
                QVERIFY(w.screen()->availableGeometry().contains(w.geometry().marginsAdded(frame)));
                QVERIFY(!w.txtSayThisNow->isHidden());
            } else {
                QCOMPARE(w.txtTime->geometry(),
                         QRect(px(2160), px(840 * unit), px(1725), px(495 * unit)));
                QVERIFY(w.txtTime->geometry().bottom() < client(Short));
                QCOMPARE(w.txtTimer->font().pointSize(), 18);
                if (outer == Short) // the window stays where it is
                    QCOMPARE(w.geometry().topLeft(), design);
            }
            const auto height = [&](int outer) { return QString::number(client(outer)); };
            if (choice == 2) { // short and repainted first, as the clocks are placed, then tall
                QCOMPARE(recorder.events,
                         (QStringList{height(Short), "paint", height(Tall), "paint"}));
                QVERIFY(w.Help[4]->geometry().bottom() < w.height());
            } else {
                QCOMPARE(recorder.events.count("paint"), 1);
            }
            for (QLineEdit* box : {w.txtTimer, w.txtTime})
                QVERIFY2(textFits(*box), qPrintable(box->objectName()));
            outer = choice == 0 ? Short : Tall;
            table = choice == 1 ? false : choice == 2 || table; // small time leaves it as it is
            QCOMPARE(w.height(), client(outer));
            QCOMPARE(w.Unit().TwipsPerUnit(), unitOf(outer));
            QVERIFY(tableIs(w, table));
        }
        if (told == int(Told::AfterShown)) { // the window manager goes: the frame with it
            const QRect timer = w.txtTimer->geometry();
            f.frame.tell({});
            frameTwips = 0;
            QCOMPARE(w.height(), client(outer));
            QCOMPARE(w.Unit().TwipsPerUnit(), unitOf(outer));
            QCOMPARE(w.txtTimer->geometry(), timer);
        }
    }

    // A compositor that draws the frame tells no size: the window takes the design's 480 twips as
    // a title bar, in the screen's pixels, unless Qt has drawn a decoration of its own after all.
    void compositorDrawnFrame() {
        const std::tuple<double, QMargins, QMargins> rows[] = {
            {96, {3, 30, 3, 3}, {3, 30, 3, 3}}, {96, {}, {0, 32, 0, 0}}, {120, {}, {0, 40, 0, 0}}};
        for (const auto& [dpi, drawnByQt, frame] : rows) {
            twips::SetLogicalDpi(dpi);
            QCOMPARE(CompositorDrawnFrame(drawnByQt), frame);
        }
        twips::SetLogicalDpi(96);
    }

    // Twips follow the screen's DPI, and a unit needs a positive scale height; what makes no
    // sense is refused and changes nothing.
    void unitsRefuseNonsense() {
        for (const auto& [dpi, pixelsPerInch] : {std::pair{120.0, 120}, {0.0, 120}, {96.0, 96}}) {
            twips::SetLogicalDpi(dpi);
            QCOMPARE(twips::ToPixels(1440), pixelsPerInch);
        }
        VerticalUnit unit;
        for (const int scaleHeight : {0, -1})
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, unit.SetScaleHeight(900, scaleHeight));
        QCOMPARE(unit.TwipsPerUnit(), 1.0);
        unit.SetScaleHeight(900, 1);
        QCOMPARE(unit.TwipsPerUnit(), 900.0);
    }

    // A window that would run off the bottom of the screen moves up, as far as the top: so does
    // the window that a tall layout would take there.
    void keptOnScreen() {
        const QRect room(0, 30, 800, 570); // below a panel
        for (const auto& [height, top] : {std::pair{500, 60}, {540, 55}, {600, 50}})
            QCOMPARE(geometry::KeptOnScreen({40, 60, 700, height}, {1, 20, 1, 5}, room),
                     QRect(40, top, 700, height));
        WindowFixture f(QTime(10, 0), {1, 20, 1, 5});
        f.window->move(40, 300);
        f.choose(f.window->cboDisplayMode, 1);
        QCOMPARE(f.window->geometry().bottom(),
                 f.window->screen()->availableGeometry().bottom() - 5);
    }

    // Any text but the three entries exactly, typed into the list's field, changes nothing.
    void otherTextsChangeNothing() {
        WindowFixture f;
        frmHoravox& w = *f.window;
        const QRect window = w.geometry();
        for (const char* text : {"big time", "Show Phrases ", ""}) {
            w.cboDisplayMode->setEditText(text);
            w.cboDisplayMode_Click();
            QCOMPARE(w.geometry(), window); // any layout would change the height
        }
    }
};

QTEST_MAIN(tst_Layouts)
#include "tst_layouts.moc"
