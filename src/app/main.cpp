#include "CursorBlinkTimeout.h"
#include "DesktopProgramStarter.h"
#include "EspeakSpeechControl.h"
#include "SpeechIndicator.h"
#include "TimeOfDay.h"
#include "WindowFrame.h"
#include "frmHoravox.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.horavox.Horavox"));
    const CursorBlinkTimeout quietCursor(10'000);
    SystemTimeOfDay clock;
    EspeakSpeechControl speech(EspeakSpeechControl::Output::Playback, QLocale::system().name());
    DesktopProgramStarter starter;

    const auto frame = MakeDesktopFrame();
    frmHoravox window(clock, speech, starter, *frame);
    window.TextToSpeech1->SetSource([&speech] { return speech.IsSpeaking(); });
    window.Load();
    window.show();

    // Told once, when the window is up, rather than at every phrase.
    QTimer::singleShot(0, &window, [&] {
        const QString reason = speech.UnavailableReason();
        if (!reason.isEmpty())
            window.Errors().Show(QStringLiteral("Speech is unavailable: %1. The clock and the "
                                                "phrase table go on working, silently.")
                                     .arg(reason));
    });
    return application.exec();
}
