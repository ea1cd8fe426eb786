#include "CombinedSpeechControl.h"
#include "CursorBlinkTimeout.h"
#include "DesktopProgramStarter.h"
#include "DesktopScreenReader.h"
#include "EspeakSpeechControl.h"
#include "SpeechIndicator.h"
#include "SpeechdService.h"
#include "TimeOfDay.h"
#include "WindowFrame.h"
#include "frmHoravox.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.horavox.Horavox"));
    const CursorBlinkTimeout quietCursor(10'000);
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
    // Its set-up runs meanwhile the window is built; the load event collects it. The desktop's
    // speech service adds its voices whenever it answers.
    EspeakSpeechControl embedded(EspeakSpeechControl::Output::Playback, QLocale::system().name(),
                                 notice);
    DesktopSpeech desktop(std::make_unique<SpeechdService>(), notice);
    CombinedSpeechControl speech(embedded, desktop, QLocale::system().name());
    DesktopProgramStarter starter;
    DesktopScreenReader reader; // asks the accessibility bus meanwhile

    const auto frame = MakeDesktopFrame();
    frmHoravox window(clock, speech, starter, *frame, reader);
    window.TextToSpeech1->SetSource([&speech] { return speech.IsSpeaking(); });
    window.Load();
    window.show();
    shown = &window;
    return application.exec();
}
