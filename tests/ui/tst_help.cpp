// "Help" and each instruction line open readme.txt through the desktop's opener, once per click.
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

    void eachClickOpensTheHelpText_data() {
        QTest::addColumn<int>("line");
        QTest::addRow("Help button") << -1;
        for (int i = 0; i < 5; ++i)
            QTest::addRow("instruction line %d", i) << i;
    }
    void eachClickOpensTheHelpText() {
        QFETCH(int, line);
        frmHoravox window(clock, speech, starter, noFrame());
        QWidget* target = line < 0 ? static_cast<QWidget*>(window.cmdHelp) : window.Help[line];
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::mouseClick(target, Qt::LeftButton);
        QTRY_COMPARE(opener.recorded(), (QStringList{"readme.txt", "--", "readme.txt", "--", ""}));
    }
};

QTEST_MAIN(tst_Help)
#include "tst_help.moc"
