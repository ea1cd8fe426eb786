#include "platform/DesktopProgramStarter.h"

#include "platform/CommandLine.h"

#include <QProcess>
#include <QStandardPaths>

const QString DesktopProgramStarter::TextViewer = QStringLiteral("notepad.exe");
const QString DesktopProgramStarter::MediaPlayer =
    QStringLiteral("C:\\Program Files\\Windows Media Player\\mplayer2.exe");

void DesktopProgramStarter::Start(const QString& commandLine) {
    const auto command = ResolveCommandLine(commandLine, {TextViewer, MediaPlayer});
    if (!command)
        throw LaunchError("Cannot start \"" + commandLine.toStdString() +
                          "\": no program of that name is known.");
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        throw LaunchError("Cannot open \"" + command->argument.toStdString() +
                          "\": xdg-open was not found. Install the package xdg-utils.");
    if (!QProcess::startDetached(opener, {MapDrivePath(command->argument)}))
        throw LaunchError("Cannot open \"" + command->argument.toStdString() +
                          "\": xdg-open could not be started.");
}
