// "Help" and the instruction lines open readme.txt through the desktop's opener.
#include "ClickableLabel.h"
#include "DesktopProgramStarter.h"
#include "Fakes.h"
#include "StubOpener.h"
#include "frmHoravox.h"

#include <QPushButton>
#include <QTest>

class tst_Help : public QObject {
    Q_OBJECT
    StubOpener opener;
    FakeClock clock;
    RecordingSpeech speech;
    DesktopProgramStarter starter;

private slots:
    void init() { opener.clear(); }

    void helpButtonTwiceOpensTwice() {
        frmHoravox window(clock, speech, starter, noFrame());
        QTest::mouseClick(window.cmdHelp, Qt::LeftButton);
        QTest::mouseClick(window.cmdHelp, Qt::LeftButton);
        QTRY_COMPARE(opener.recorded(), (QStringList{"readme.txt", "--", "readme.txt", "--", ""}));
    }

    void everyInstructionLineOpensTheSameText() {
        for (int i = 0; i < 5; ++i) {
            frmHoravox window(clock, speech, starter, noFrame());
            QTest::mouseClick(window.Help[std::size_t(i)], Qt::LeftButton);
            QTRY_COMPARE(opener.recorded(), (QStringList{"readme.txt", "--", ""}));
            opener.clear();
        }
    }
};

QTEST_MAIN(tst_Help)
#include "tst_help.moc"
