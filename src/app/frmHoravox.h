#pragma once

#include "app/ErrorDisplay.h"
#include "phrases/PhraseRow.h"
#include "ui/ClockBox.h"
#include "ui/VerticalUnit.h"

#include <QDate>
#include <QMargins>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class ClickableLabel;
class ProgramStarter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class ScreenReader;
class SpeechControl;
class SpeechIndicator;
class TimeOfDay;
class WindowFrame;

// The program's state besides the controls' texts; all 0 when the window is created.
struct WindowVariables {
    std::int32_t StartSeconds = 0;      // time of day of the last start-up or reset
    QDate StartDate;                    // date of the last start-up or reset
    std::int64_t StartInstant = 0;      // instant of the last start-up or reset
    std::int32_t NowSeconds = 0;        // StartSeconds and the seconds passed since
    std::int32_t LastScannedSecond = 0; // highest NowSeconds the phrase table was scanned for
    std::int32_t DayCount = 0;          // midnights since the last start-up or reset
};

// The one window. Its controls are the program's data store: every handler reads them afresh.
// Handlers run on the event thread; an error ends the handler that raised it at that step and is
// shown by Errors(), after which the program goes on.
//
// While a screen reader is on, the voice the reader speaks with is chosen for the user, as soon as
// the speech control lists it; when the reader goes, the voice of the start-up comes back. A voice
// the user chooses in the list ends this for the rest of the run.
class frmHoravox final : public QWidget {
public:
    frmHoravox(const TimeOfDay& clock, SpeechControl& speech, ProgramStarter& starter,
               WindowFrame& frame, ScreenReader& reader);
    ~frmHoravox() override;

    // Runs Form_Load as the window's load event, then follows the screen reader: errors are shown,
    // not thrown.
    void Load();
    // One tick as the timer delivers it: errors are shown, not thrown. A tick that finds a new
    // second well after it began phases the ticks again to just after each second's start, so
    // that a due phrase starts with its second rather than up to a tick later. At each new second,
    // voices the speech control has gained are added to the end of the voice list, and the screen
    // reader's voice is chosen once it is there.
    void Tick();
    ErrorDisplay& Errors() { return errors_; }
    const WindowVariables& Variables() const { return vars_; }
    const VerticalUnit& Unit() const { return unit_; }
    double ClientHeightTwips() const { return clientHeightTwips_; }
    // A desktop that tells the frame only when the window is shown gets the window height again,
    // before the first frame is drawn; so does one that tells it later, when it does.
    void setVisible(bool visible) override;

    // The timer start value typed into TimerStart, in seconds; never fails.
    double ReadTimerStart() const;

    // Event handlers. Called directly they throw; the window's own wiring shows their errors.
    void Form_Load();
    void tmrTimer1_Timer();
    void cmdReset_Click();
    void cmdClearPhrases_Click();
    void cmdSayThisNow_Click();
    void cboSelectVoice_Click();
    void cboDisplayMode_Click();
    void cmdHelp_Click();
    void Help_Click(int index);

    // Controls, named as the design names them.
    ClockBox* txtTime;
    ClockBox* txtTimer;
    QLineEdit* TimerStart;
    QComboBox* cboTimerMode;
    QComboBox* cboDisplayMode;
    QComboBox* cboSelectVoice;
    std::array<QLineEdit*, PhraseRowCount> ElapsedActual;
    std::array<QLineEdit*, PhraseRowCount> TimeList;
    std::array<QLineEdit*, PhraseRowCount> SayList;
    QLineEdit* txtSayThisNow;
    QPushButton* cmdSayThisNow;
    QPushButton* cmdReset;
    QPushButton* cmdClearPhrases;
    QPushButton* cmdHelp;
    std::array<ClickableLabel*, 5> Help;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* txtSelectVoice;
    QLabel* Image1;
    SpeechIndicator* TextToSpeech1;
    QTimer* tmrTimer1;

private:
    void createControls();
    void nameForScreenReaders();
    void setTabOrder();
    void wireEvents();
    template <typename Control>
    Control* designed(const QString& name, Control* control, int left, int top, int width,
                      int height, int tabIndex, const QString& toolTip = {});

    void PhaseTicks(int delayMilliseconds);
    void SetUpVoices();
    void ListNewVoices();
    void FollowScreenReader();
    void ChooseVoiceForUser(std::int16_t index);
    void ScanPhrases();
    void OutputPhrase(const QString& phrase);
    void PlaySoundFile(const QString& path);
    void OpenHelpText();

    void ShowSmallTime();
    void ShowBigTime();
    void ShowPhrases();
    void SetShortWindow();
    void SetTallWindow();
    void SetPhraseTableVisible(bool visible);
    void SetFormHeight(int outerTwips, double mustShowTwips);
    void FollowFrame();
    void SetScaleHeight(int scaleHeight);

    const TimeOfDay& clock_;
    SpeechControl& speech_;
    ProgramStarter& starter_;
    WindowFrame& frame_;
    ScreenReader& reader_;
    bool userChoseVoice_ = false;
    // While the screen reader's voice is chosen for the user: the list entry chosen before it.
    std::optional<std::int16_t> voiceBeforeReader_;
    ErrorDisplay errors_;
    WindowVariables vars_;
    VerticalUnit unit_;
    double clientHeightTwips_ = 0;
    int tickMillisecond_ = 0; // how far into its second the last tick read the clock
    QMargins frameUsed_;
    int outerHeight_ = 0;
    double mustShowTwips_ = 0;
    int scaleHeight_ = 0;
    std::vector<std::pair<int, QWidget*>> tabStops_;
};
