#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Reading a command line the way the program's commands are written: an unquoted program path
// that may contain blanks, one blank, then the rest as one argument.

struct ResolvedCommand {
    QString program;  // as it matched one of the known programs
    QString argument; // everything after the program and its one separating blank
};

// Tries successively longer blank-separated prefixes of the line against `knownPrograms`
// (case-insensitive); nothing when none matches.
std::optional<ResolvedCommand> ResolveCommandLine(const QString& commandLine,
                                                  const QStringList& knownPrograms);

// "c:\dir\file.wav" or "c:/dir/file.wav" becomes "/dir/file.wav": a drive letter stands for the
// file system's root and backslashes become slashes. Any other text is left as it stands.
QString MapDrivePath(const QString& argument);
