// Reading command lines, and real starts of a stub xdg-open that records its arguments.
#include "TextRow.h"
#include "platform/CommandLine.h"
#include "platform/DesktopProgramStarter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

const QString Player = "C:\\Program Files\\Windows Media Player\\mplayer2.exe";
using Line = std::tuple<QString, QString, QString>; // line, program, argument
using Mapped = std::pair<QString, QString>;         // in, out

class tst_Starter : public QObject {
    Q_OBJECT
    QTemporaryDir stubs; // an xdg-open first on PATH, writing each argument on a line, then "--"
    const QString log = stubs.filePath("xdg-open.log");

private slots:
    void initTestCase() {
        QFile stub(stubs.filePath("xdg-open"));
        QVERIFY(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$0.log\"\n"
                   "echo -- >> \"$0.log\"\n");
        stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", stubs.path().toUtf8() + ':' + qgetenv("PATH"));
    }
    void init() { QFile::remove(log); }

    // A line, the program read from it (empty: refused) and its argument.
    void resolve_data() {
        rows<Line>(
            {{"help", {"notepad.exe readme.txt", "notepad.exe", "readme.txt"}},
             {"player with blanks in its path", {Player + " c:\\a b.wav", Player, "c:\\a b.wav"}},
             {"any case", {"NOTEPAD.EXE x", "NOTEPAD.EXE", "x"}},
             {"empty tail", {"notepad.exe", "notepad.exe", ""}},
             {"unknown program", {"rm -rf /", "", ""}},
             {"a known name inside a longer word", {"notepad.exe.bak x", "", ""}},
             {"double blank keeps one", {"notepad.exe  x", "notepad.exe", " x"}},
             {"a path that begins with a blank", {" my.exe x", " my.exe", "x"}}});
    }
    void resolve() {
        const auto [line, program, argument] = row<Line>();
        const auto command = ResolveCommandLine(line, {"notepad.exe", Player, " my.exe"});
        QCOMPARE(command.has_value(), !program.isEmpty());
        if (command) {
            QCOMPARE(command->program, program);
            QCOMPARE(command->argument, argument);
        }
    }

    void drivePaths_data() {
        rows<Mapped>({{"backslashes", {"c:\\windows\\media\\tada.wav", "/windows/media/tada.wav"}},
                      {"slashes", {"c:/home/me/bell.wav", "/home/me/bell.wav"}},
                      {"capital drive", {"D:\\x", "/x"}},
                      {"drive root", {"c:\\", "/"}},
                      {"a time", {"1:30", "1:30"}},
                      {"drive alone", {"c:", "c:"}},
                      {"relative", {"readme.txt", "readme.txt"}}});
    }
    void drivePaths() {
        const auto [argument, path] = row<Mapped>();
        QCOMPARE(MapDrivePath(argument), path);
    }

    // The tail of the command line, and the one argument the opener gets.
    void startsTheOpenerWithOneArgument_data() {
        const QString owned = stubs.filePath("owned");
        rows<Mapped>({{"help text", {"readme.txt", "readme.txt"}},
                      {"blanks", {"c:/my sounds/a b.wav", "/my sounds/a b.wav"}},
                      {"semicolon", {"c:\\x;touch " + owned, "/x;touch " + owned}},
                      {"substitution", {"c:\\$(touch " + owned + ")", "/$(touch " + owned + ")"}}});
    }
    void startsTheOpenerWithOneArgument() {
        const auto [tail, argument] = row<Mapped>();
        DesktopProgramStarter starter;
        starter.Start((tail == "readme.txt" ? QString("notepad.exe") : Player) + ' ' + tail);
        const auto recorded = [this] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n')
                                                  : QStringList();
        };
        QTRY_COMPARE(recorded(), (QStringList{argument, "--", ""}));
        QVERIFY(!QFile::exists(stubs.filePath("owned")));
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
