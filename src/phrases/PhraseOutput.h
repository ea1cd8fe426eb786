#pragma once

#include <QString>

// A phrase whose second character is ":" names a sound file (a drive letter and colon).
bool IsSoundFilePath(const QString& phrase);

// The media player's command line for a sound file, the path appended unquoted.
QString MediaPlayerCommand(const QString& path);
