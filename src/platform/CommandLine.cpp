#include "platform/CommandLine.h"

std::optional<ResolvedCommand> ResolveCommandLine(const QString& commandLine,
                                                  const QStringList& knownPrograms) {
    qsizetype end = 0;
    while (end <= commandLine.size()) {
        end = commandLine.indexOf(u' ', end);
        if (end < 0)
            end = commandLine.size();
        const QString candidate = commandLine.left(end);
        if (knownPrograms.contains(candidate, Qt::CaseInsensitive))
            return ResolvedCommand{candidate, commandLine.mid(end + 1)};
        ++end;
    }
    return std::nullopt;
}

QString MapDrivePath(const QString& argument) {
    const bool hasDrive = argument.size() >= 3 && argument[0].isLetter() &&
                          argument[0].unicode() < 128 && argument[1] == u':' &&
                          (argument[2] == u'\\' || argument[2] == u'/');
    if (!hasDrive)
        return argument;
    QString path = argument.mid(2);
    path.replace(u'\\', u'/');
    return path;
}
