#include "DesktopProgramStarter.h"
#include "EspeakSpeechControl.h"
#include "SpeechIndicator.h"
#include "TimeOfDay.h"
#include "frmHoravox.h"

#include <QApplication>
#include <QLocale>
#include <QTime>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.horavox.Horavox"));
    SystemTimeOfDay clock;
    // What the user should know about speech reaches the window's box through its event loop,
    // so only once the window is up.
    frmHoravox* shown = nullptr;
    const auto notice = [&shown, &application](const QString& message) {
        QMetaObject::invokeMethod(
            &application,
            [&shown, message] {
                if (shown)
                    shown->Errors().Show(message);
            },
            Qt::QueuedConnection);
    };
    // Its set-up runs meanwhile the window is built; the load event collects it.
    EspeakSpeechControl speech(EspeakSpeechControl::Output::Playback, QLocale::system().name(),
                               notice);
    DesktopProgramStarter starter;

    frmHoravox window(clock, speech, starter);
    window.TextToSpeech1->SetSource([&speech] { return speech.IsSpeaking(); });
    window.Load();
    window.show();
    shown = &window;
    window.PhaseTicks(1000 - QTime::currentTime().msec() + 5);
    return application.exec();
}
