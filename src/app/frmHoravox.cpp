#include "app/frmHoravox.h"

#include "clock/CheckedArithmetic.h"
#include "clock/ClockText.h"
#include "clock/TickArithmetic.h"
#include "clock/TimeOfDay.h"
#include "phrases/PhraseOutput.h"
#include "platform/ProgramStarter.h"
#include "platform/ScreenReader.h"
#include "platform/WindowFrame.h"
#include "speech/SpeechControl.h"
#include "ui/ClickableLabel.h"
#include "ui/ClockBox.h"
#include "ui/ComboList.h"
#include "ui/SpeechIndicator.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QString PreferredVoice = QStringLiteral("Mfg=Microsoft;Gender=1");
const QString HelpCommand = QStringLiteral("notepad.exe readme.txt");
// Ticks fall this long after a second begins; one that lands later than LateTick is phased anew.
constexpr int TickPhase = 5;
constexpr int LateTick = 20;

} // namespace

frmHoravox::frmHoravox(const TimeOfDay& clock, SpeechControl& speech, ProgramStarter& starter,
                       WindowFrame& frame, ScreenReader& reader)
    : clock_(clock), speech_(speech), starter_(starter), frame_(frame), reader_(reader),
      errors_(this) {
    createControls();
    nameForScreenReaders();
    setTabOrder();
    wireEvents();
    // The window opens with the focus on "Reset" rather than in the first box of the tab order,
    // the timer, where a blinking cursor would repaint a clock twice a second.
    cmdReset->setFocus();
    tmrTimer1->start();
    frame_.Watch(*this, [this] { FollowFrame(); });
    TextToSpeech1->SetSource([this] { return speech_.IsSpeaking(); });
    reader_.Watch([this] { errors_.Run([this] { FollowScreenReader(); }); });
}

frmHoravox::~frmHoravox() = default;

void frmHoravox::wireEvents() {
    const auto handle = [this](auto handler) {
        return [this, handler] { errors_.Run([this, handler] { (this->*handler)(); }); };
    };
    connect(tmrTimer1, &QTimer::timeout, this, &frmHoravox::Tick);
    connect(cmdReset, &QPushButton::clicked, this, handle(&frmHoravox::cmdReset_Click));
    connect(cmdClearPhrases, &QPushButton::clicked, this,
            handle(&frmHoravox::cmdClearPhrases_Click));
    connect(cmdSayThisNow, &QPushButton::clicked, this, handle(&frmHoravox::cmdSayThisNow_Click));
    connect(cmdHelp, &QPushButton::clicked, this, handle(&frmHoravox::cmdHelp_Click));
    connect(cboSelectVoice, &QComboBox::activated, this, [this] {
        userChoseVoice_ = true;
        errors_.Run([this] { cboSelectVoice_Click(); });
    });
    connect(cboDisplayMode, &QComboBox::activated, this, handle(&frmHoravox::cboDisplayMode_Click));
    for (int i = 0; i < static_cast<int>(Help.size()); ++i)
        connect(Help[static_cast<std::size_t>(i)], &ClickableLabel::clicked, this,
                [this, i] { errors_.Run([this, i] { Help_Click(i); }); });
}

// Restarts the 100 ms ticks after the delay, one of them falling just after each second begins.
void frmHoravox::PhaseTicks(int delayMilliseconds) {
    tmrTimer1->stop();
    QTimer::singleShot(delayMilliseconds, Qt::PreciseTimer, this, [this] {
        tmrTimer1->start();
        Tick();
    });
}

void frmHoravox::Load() {
    errors_.Run([this] { Form_Load(); });
    errors_.Run([this] { FollowScreenReader(); });
}

void frmHoravox::Form_Load() {
    const LocalMoment now = clock_.now();
    vars_.NowSeconds = ClockSeconds(FormatClock(now.time));
    vars_.StartSeconds = vars_.NowSeconds;
    vars_.StartDate = now.date;
    vars_.StartInstant = now.instant;
    vars_.DayCount = 0;
    ShowSmallTime();
    SetUpVoices();
}

void frmHoravox::Tick() {
    const std::int32_t scannedBefore = vars_.LastScannedSecond;
    errors_.Run([this] { tmrTimer1_Timer(); });
    TextToSpeech1->Poll();
    if (vars_.LastScannedSecond == scannedBefore)
        return; // the ticks between seconds do no more
    errors_.Run([this] { ListNewVoices(); });
    errors_.Run([this] { FollowScreenReader(); });
    if (tickMillisecond_ > LateTick) {
        const int interval = tmrTimer1->interval();
        PhaseTicks(((TickPhase - tickMillisecond_) % interval + interval) % interval);
    }
}

double frmHoravox::ReadTimerStart() const {
    return TimerStartSeconds(TimerStart->text());
}

void frmHoravox::tmrTimer1_Timer() {
    const LocalMoment now = clock_.now();
    tickMillisecond_ = now.time.msec();
    txtTime->ShowText(FormatClock(now.time));
    vars_.DayCount = DaysSince(vars_.StartDate, now.date);
    // The timer counts the seconds that pass, which the time of day does not when the clocks
    // change or the zone does.
    vars_.NowSeconds = RunningSeconds(vars_.StartSeconds, vars_.StartInstant, now.instant);
    const std::int32_t startValue = checked::roundToInt32(ReadTimerStart());
    const std::int32_t timerValue =
        TimerValue(cboTimerMode->currentText(), vars_.NowSeconds, vars_.StartSeconds, startValue);
    txtTimer->ShowText(FormatTimerText(timerValue));
    ScanPhrases();
}

void frmHoravox::ScanPhrases() {
    if (vars_.NowSeconds <= vars_.LastScannedSecond)
        return;
    vars_.LastScannedSecond = vars_.NowSeconds;
    for (std::size_t i = 0; i < PhraseRowCount; ++i) {
        if (IsRowDue(ElapsedActual[i]->text(), TimeList[i]->text(), txtTimer->text(),
                     txtTime->text()))
            OutputPhrase(SayList[i]->text());
    }
}

void frmHoravox::cmdReset_Click() {
    // A click can come before the first tick of its second. That tick comes now, with the count
    // as it was: otherwise the second is scanned after the reset, and its "E 00:00:00" rows, with
    // nothing to say, cut "Go" off at once.
    errors_.Run([this] { tmrTimer1_Timer(); });
    const LocalMoment now = clock_.now();
    txtTime->ShowText(FormatClock(now.time));
    vars_.NowSeconds = ClockSeconds(txtTime->text());
    vars_.StartSeconds = vars_.NowSeconds;
    vars_.StartDate = now.date;
    vars_.StartInstant = now.instant;
    vars_.DayCount = 0;
    // After midnights, the clocks put back, or a clock set back, the count starts lower than the
    // last scanned second: the rows speak again from the next second, not an hour or a day later.
    vars_.LastScannedSecond = std::min(vars_.LastScannedSecond, vars_.NowSeconds);
    speech_.StopSpeaking();
    speech_.Speak(QStringLiteral("Go"));
}

void frmHoravox::cmdClearPhrases_Click() {
    for (std::size_t i = 0; i < PhraseRowCount; ++i) {
        TimeList[i]->setText(QStringLiteral("00:00:00"));
        SayList[i]->setText(QString());
    }
}

void frmHoravox::cmdSayThisNow_Click() {
    OutputPhrase(txtSayThisNow->text());
}

void frmHoravox::OutputPhrase(const QString& phrase) {
    speech_.StopSpeaking();
    if (IsSoundFilePath(phrase))
        PlaySoundFile(phrase);
    else
        speech_.Speak(phrase);
}

void frmHoravox::PlaySoundFile(const QString& path) {
    starter_.Start(MediaPlayerCommand(path));
}

void frmHoravox::SetUpVoices() {
    speech_.SelectVoice(speech_.FindVoice(PreferredVoice));
    const std::int32_t count = speech_.VoiceCount();
    for (std::int32_t voice = 1; voice <= count; ++voice)
        AddItem(*cboSelectVoice, speech_.VoiceName(voice));
    const std::int32_t current = speech_.CurrentVoice();
    SetListIndex(*cboSelectVoice, checked::toInt16(checked::subtract(current, 1)));
    cboSelectVoice_Click(); // setting the selection counts as choosing it
}

// Voices that a synthesizer added after start-up join the end of the list; nothing is chosen.
void frmHoravox::ListNewVoices() {
    const std::int32_t count = speech_.VoiceCount();
    for (std::int32_t voice = cboSelectVoice->count() + 1; voice <= count; ++voice)
        AddItem(*cboSelectVoice, speech_.VoiceName(voice));
}

void frmHoravox::FollowScreenReader() {
    if (userChoseVoice_)
        return;
    const bool on = reader_.IsOn();
    if (on && !voiceBeforeReader_) {
        const std::int32_t voice = speech_.ReaderVoice();
        if (voice < 1 || voice > cboSelectVoice->count())
            return; // not listed yet: looked for again at the next second
        // Noted before the click, so that a click that fails is not tried again every second.
        voiceBeforeReader_ = checked::toInt16(cboSelectVoice->currentIndex());
        ChooseVoiceForUser(checked::toInt16(voice - 1));
    } else if (!on && voiceBeforeReader_) {
        ChooseVoiceForUser(*std::exchange(voiceBeforeReader_, std::nullopt));
    }
}

// As a choice in the list: the entry is selected and its click runs, unless it already was.
void frmHoravox::ChooseVoiceForUser(std::int16_t index) {
    if (index == cboSelectVoice->currentIndex())
        return;
    SetListIndex(*cboSelectVoice, index);
    cboSelectVoice_Click();
}

void frmHoravox::cboSelectVoice_Click() {
    const auto chosen = checked::toInt16(cboSelectVoice->currentIndex());
    speech_.SetCurrentVoice(checked::add16(chosen, 1));
    const std::int32_t voice = speech_.CurrentVoice();
    speech_.SetVoiceFlag(speech_.VoiceAttribute(voice) == 1 ? 0 : 1);
}

void frmHoravox::cmdHelp_Click() {
    OpenHelpText();
}

void frmHoravox::Help_Click(int) {
    OpenHelpText();
}

void frmHoravox::OpenHelpText() {
    starter_.Start(HelpCommand);
}
