// Reading a command line: the program is a known prefix, the tail is everything after its one
// blank, and the drive-letter mapping only ever rewrites a drive path.
#include "FuzzInput.h"
#include "platform/CommandLine.h"

FUZZ_TEXT(line) {
    const QStringList known{"notepad.exe", "C:\\Program Files\\Windows Media Player\\mplayer2.exe"};
    if (const auto command = ResolveCommandLine(line, known)) {
        REQUIRE(known.contains(command->program, Qt::CaseInsensitive));
        REQUIRE(line.startsWith(command->program));
        const QString rest = line.mid(command->program.size());
        REQUIRE(rest.isEmpty() ? command->argument.isEmpty() : rest == ' ' + command->argument);
    }
    const QString mapped = MapDrivePath(line);
    if (line.size() >= 3 && line[0].isLetter() && line[0].unicode() < 128 && line[1] == ':' &&
        (line[2] == '\\' || line[2] == '/'))
        REQUIRE(mapped.startsWith('/') && !mapped.contains('\\') &&
                mapped.size() == line.size() - 2);
    else
        REQUIRE(mapped == line);
}
