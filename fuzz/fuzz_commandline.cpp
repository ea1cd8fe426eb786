// Reading a command line: the program is a known prefix, the tail is everything after its one
// blank, and the drive-letter mapping only ever rewrites a drive path.
#include "CommandLine.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line = FuzzText(data, size);
    const QStringList known{"notepad.exe", "C:\\Program Files\\Windows Media Player\\mplayer2.exe"};
    if (const auto command = ResolveCommandLine(line, known)) {
        Require(known.contains(command->program, Qt::CaseInsensitive), "a known program");
        Require(line.startsWith(command->program), "the program starts the line");
        const QString rest = line.mid(command->program.size());
        Require(rest.isEmpty() ? command->argument.isEmpty() : rest == ' ' + command->argument,
                "the tail is one argument");
    }
    const QString mapped = MapDrivePath(line);
    const bool drive = line.size() >= 3 && line[0].isLetter() && line[0].unicode() < 128 &&
                       line[1] == ':' && (line[2] == '\\' || line[2] == '/');
    if (drive)
        Require(mapped.startsWith('/') && !mapped.contains('\\') &&
                    mapped.size() == line.size() - 2,
                "a drive path maps to the root");
    else
        Require(mapped == line, "anything else is left alone");
    return 0;
}
