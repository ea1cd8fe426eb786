// Reading command lines, and real starts of a stub xdg-open that records its arguments.
#include "CommandLine.h"
#include "DesktopProgramStarter.h"
#include "StubOpener.h"
#include "TextRow.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Player = "C:\\Program Files\\Windows Media Player\\mplayer2.exe";
}

class tst_Starter : public QObject {
    Q_OBJECT
    StubOpener opener;

private slots:
    void init() { opener.clear(); }

    void resolve_data() {
        textColumns({"line", "program", "argument"});
        textRow("help", "notepad.exe readme.txt", "notepad.exe", "readme.txt");
        textRow("player with blanks in its path", Player + " c:\\a b.wav", Player, "c:\\a b.wav");
        textRow("any case", "NOTEPAD.EXE x", "NOTEPAD.EXE", "x");
        textRow("empty tail", "notepad.exe", "notepad.exe", "");
        textRow("unknown program", "rm -rf /", "", "");
        textRow("double blank keeps one", "notepad.exe  x", "notepad.exe", " x");
    }
    void resolve() {
        QFETCH(QString, line);
        QFETCH(QString, program);
        QFETCH(QString, argument);
        const auto command = ResolveCommandLine(line, {"notepad.exe", Player});
        QCOMPARE(command.has_value(), !program.isEmpty());
        if (command) {
            QCOMPARE(command->program, program);
            QCOMPARE(command->argument, argument);
        }
    }

    void drivePaths_data() {
        textColumns({"argument", "path"});
        textRow("backslashes", "c:\\windows\\media\\tada.wav", "/windows/media/tada.wav");
        textRow("slashes", "c:/home/me/bell.wav", "/home/me/bell.wav");
        textRow("capital drive", "D:\\x", "/x");
        textRow("a time", "1:30", "1:30");
        textRow("drive alone", "c:", "c:");
        textRow("relative", "readme.txt", "readme.txt");
    }
    void drivePaths() {
        QFETCH(QString, argument);
        QFETCH(QString, path);
        QCOMPARE(MapDrivePath(argument), path);
    }

    void startsTheOpenerWithOneArgument_data() {
        textColumns({"tail", "argument"});
        const QString owned = opener.filePath("owned");
        textRow("help text", "readme.txt", "readme.txt");
        textRow("blanks", "c:/my sounds/a b.wav", "/my sounds/a b.wav");
        textRow("semicolon", "c:\\x;touch " + owned, "/x;touch " + owned);
        textRow("substitution", "c:\\$(touch " + owned + ")", "/$(touch " + owned + ")");
        textRow("back quotes", "c:/`touch " + owned + "`", "/`touch " + owned + "`");
    }
    void startsTheOpenerWithOneArgument() {
        QFETCH(QString, tail);
        QFETCH(QString, argument);
        DesktopProgramStarter starter;
        starter.Start((tail == "readme.txt" ? QString("notepad.exe") : Player) + ' ' + tail);
        QTRY_COMPARE(opener.recorded(), (QStringList{argument, "--", ""}));
        QVERIFY(!QFile::exists(opener.filePath("owned")));
    }

    void failuresAreLaunchErrors() {
        DesktopProgramStarter starter;
        QVERIFY_THROWS_EXCEPTION(LaunchError, starter.Start("calc.exe 1+1"));
        const QByteArray path = qgetenv("PATH");
        const QTemporaryDir empty;
        qputenv("PATH", empty.path().toUtf8());
        QVERIFY_THROWS_EXCEPTION(LaunchError, starter.Start("notepad.exe readme.txt"));
        qputenv("PATH", path);
    }
};

QTEST_GUILESS_MAIN(tst_Starter)
#include "tst_starter.moc"
