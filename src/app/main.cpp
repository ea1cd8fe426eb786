#include "app/frmHoravox.h"
#include "clock/TimeOfDay.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/DesktopScreenReader.h"
#include "platform/WindowFrame.h"
#include "speech/SpeechRouter.h"
#include "speech/espeak/EspeakEngine.h"
#include "speech/espeak/PulsePlayer.h"
#include "speech/speechd/LibspeechdConnection.h"
#include "speech/speechd/SpeechdEngine.h"
#include "ui/CursorBlinkTimeout.h"

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
    // speech service adds its voices whenever it answers, after the embedded ones.
    EspeakEngine embedded(
        [](int sampleRate, SoundSink::Listener listener) {
            return std::make_unique<PulsePlayer>(sampleRate, std::move(listener));
        },
        notice);
    SpeechdEngine desktop(std::make_unique<LibspeechdConnection>(), notice);
    SpeechRouter speech({&embedded, &desktop}, QLocale::system().name());
    DesktopProgramStarter starter;
    DesktopScreenReader reader; // asks the accessibility bus meanwhile

    const auto frame = MakeDesktopFrame();
    frmHoravox window(clock, speech, starter, *frame, reader);
    window.Load();
    window.show();
    shown = &window;
    return application.exec();
}
