#include "DesktopProgramStarter.h"
#include "EspeakSpeechControl.h"
#include "SoundServerProbe.h"
#include "TimeOfDay.h"
#include "frmHoravox.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    SystemTimeOfDay clock;
    EspeakSpeechControl speech(EspeakSpeechControl::Output::Playback, QLocale::system().name());
    DesktopProgramStarter starter;

    frmHoravox window(clock, speech, starter);
    window.Load();
    window.show();

    // Asked once the window is up: the synthesizer itself reports success even when nothing can
    // be heard.
    QTimer::singleShot(0, &window, [&] {
        QString reason = speech.UnavailableReason();
        if (reason.isEmpty())
            reason = SoundServerProblem();
        if (!reason.isEmpty())
            window.Errors().Show(QStringLiteral("Speech is unavailable: %1. The clock and the "
                                                "phrase table go on working, silently.")
                                     .arg(reason));
    });
    return application.exec();
}
