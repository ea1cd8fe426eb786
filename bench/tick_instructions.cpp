// Repeats one kind of work N times inside measured(), which callgrind is told to count:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect=measured tick_instructions
//   plain 1000
// Kinds: settext (two line edits given their own text), plain (a tick within its second), scan
// (a tick in a new second) and clock (a reading of the system's clock, in the system's zone).
#include "TickSetup.h"
#include "clock/TimeOfDay.h"

#include <cstring>

extern "C" __attribute__((noinline)) void measured(WindowFixture& f, const TimeOfDay& system,
                                                   const char* kind, int count) {
    int second = 36000;
    QLineEdit& a = *f.window->txtTime;
    QLineEdit& b = *f.window->txtTimer;
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(kind, "clock") == 0)
            second += system.now().time.second();
        else if (std::strcmp(kind, "settext") == 0)
            SetTextTwice(a, b);
        else
            TickOnce(f, std::strcmp(kind, "scan") == 0 ? TickKind::Scanning : TickKind::Plain,
                     second);
    }
}

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 3)
        return 2;
    WindowFixture f;
    f.window->Tick(); // texts written once, so later plain ticks find them unchanged
    const SystemTimeOfDay system;
    measured(f, system, argv[1], std::atoi(argv[2]));
    return 0;
}
