// The window as it is created, before its load event: every control at its design place, with its
// design text, tooltip and tab index.
#include "Pictures.h"
#include "app/frmHoravox.h"
#include "ui/ClickableLabel.h"
#include "ui/ClockBox.h"
#include "ui/ComboList.h"
#include "ui/ControlGeometry.h"
#include "ui/NamedComboBox.h"
#include "ui/SpeechIndicator.h"
#include "ui/Twips.h"
#include "ui/WholeLineEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int DesignWidth = 10365;
constexpr int DesignHeight = 8850;
constexpr int DesignLeft = 540;
constexpr int DesignTop = 660;
constexpr int FirstRowTop = 1560;
constexpr int RowSpacing = 480;
constexpr int RowHeight = 285;
constexpr std::array<int, PhraseRowCount> KindTabIndex{14, 13, 12, 11, 10, 9, 8, 7, 6, 5};
constexpr std::array<int, PhraseRowCount> TimeTabIndex{34, 33, 32, 31, 30, 29, 24, 23, 22, 21};
constexpr std::array<int, PhraseRowCount> PhraseTabIndex{35, 41, 28, 27, 26, 25, 20, 19, 18, 17};
constexpr std::array<int, 5> HelpTabIndex{40, 39, 38, 37, 36};
constexpr int HelpTop = 6720;
constexpr int HelpSpacing = 240;

const std::array<QString, 5> HelpCaptions{
    QStringLiteral("Instructions:"),
    QStringLiteral(R"(Enter "E" for Elapsed Time or "A" for Actual Time in first column.)"),
    QStringLiteral(R"(Enter Elapsed or Actual Time in format "HH:MM:SS" in second column.)"),
    QStringLiteral(R"(Enter phrase to be spoken in third column (e.g., "This is a test" or )"
                   R"("c:\windows\media\tada.wav").)"),
    QStringLiteral(
        R"(A phrase can be tested by typing in last row and clicking the "Say This Now" button.)"),
};

QFont clockFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(18);
    font.setBold(true);
    return font;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}

QComboBox* dropDown(const QStringList& entries, const QString& text, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    MakeDropDownList(*combo, entries, text);
    return combo;
}

} // namespace

template <typename Control>
Control* frmHoravox::designed(const QString& name, Control* control, int left, int top, int width,
                              int height, int tabIndex, const QString& toolTip) {
    control->setObjectName(name);
    geometry::Place(*control, left, top, width, height);
    control->setToolTip(toolTip);
    tabStops_.emplace_back(tabIndex, control);
    return control;
}

void frmHoravox::createControls() {
    AnnounceComboBoxesByName();
    ReadLineEditsWhole();
    setWindowTitle(QStringLiteral("Horavox v2.0"));
    setFont(QFont(QStringLiteral("Arial"), 8)); // the captions are sized for a small face
    setWindowIcon(AlarmClockIcon());
    twips::SetLogicalDpi(logicalDpiY());
    // The client area at its design place on the screen's free area.
    const QPoint origin = screen()->availableGeometry().topLeft();
    setGeometry(origin.x() + twips::ToPixels(DesignLeft), origin.y() + twips::ToPixels(DesignTop),
                twips::ToPixels(DesignWidth), twips::ToPixels(DesignHeight));
    clientHeightTwips_ = DesignHeight;

    cmdClearPhrases = designed(QStringLiteral("cmdClearPhrases"),
                               new QPushButton(QStringLiteral("Clear Phrases"), this), 8760, 6840,
                               1335, 375, 50, QStringLiteral("Click here to clear all phrases."));
    cboDisplayMode =
        designed(QStringLiteral("cboDisplayMode"),
                 dropDown({QStringLiteral("Small Time"), QStringLiteral("Big Time"),
                           QStringLiteral("Show Phrases")},
                          QStringLiteral("Small Time"), this),
                 6240, 360, 1455, 315, 48,
                 QStringLiteral("Used to select display mode (small, big, or show phrases)."));
    cboTimerMode = designed(
        QStringLiteral("cboTimerMode"),
        dropDown({QStringLiteral("Up"), QStringLiteral("Down")}, QStringLiteral("Up"), this), 4080,
        360, 855, 315, 46,
        QStringLiteral(R"(Selects elapsed time ("Up") or remaining time ("Down"))"));
    TimerStart =
        designed(QStringLiteral("TimerStart"), new QLineEdit(QStringLiteral("00:00:00"), this),
                 5160, 360, 855, 285, 45, QStringLiteral("Used to enter initial timer value."));
    cmdHelp = designed(QStringLiteral("cmdHelp"), new QPushButton(QStringLiteral("Help"), this),
                       1200, 360, 735, 375, 42, QStringLiteral("Displays help file."));
    txtTimer =
        designed(QStringLiteral("txtTimer"), new ClockBox(QStringLiteral("timer"), this), 240, 840,
                 1725, 495, 0, QStringLiteral("The timer (elapsed or remaining)."));
    txtTime = designed(QStringLiteral("txtTime"), new ClockBox(QStringLiteral("time"), this), 2160,
                       840, 1725, 495, 1, QStringLiteral("The actual time."));
    for (QLineEdit* clock : {txtTimer, txtTime}) {
        clock->setFont(clockFont());
        // A line edit keeps 2 pixels of its own inside the frame on each side: "- 00:00:05" in
        // 18 points needs them in the 1725-twip box.
        clock->setTextMargins(-2, 0, -2, 0);
    }

    const auto& defaults = DefaultPhraseRows();
    for (int i = 0; i < PhraseRowCount; ++i) {
        const int top = FirstRowTop + RowSpacing * i;
        const auto row = static_cast<std::size_t>(i);
        SayList[row] = designed(QStringLiteral("SayList(%1)").arg(i),
                                new QLineEdit(defaults[row].phrase, this), 1680, top, 8400,
                                RowHeight, PhraseTabIndex[row]);
        SayList[row]->setMaxLength(PhraseMaxLength);
        TimeList[row] =
            designed(QStringLiteral("TimeList(%1)").arg(i), new QLineEdit(defaults[row].time, this),
                     600, top, 975, RowHeight, TimeTabIndex[row]);
        ElapsedActual[row] = designed(QStringLiteral("ElapsedActual(%1)").arg(i),
                                      new QLineEdit(defaults[row].kind, this), 240, top, 255,
                                      RowHeight, KindTabIndex[row]);
    }
    ElapsedActual[0]->setToolTip(
        QStringLiteral(R"(Enter "E" for elapsed time or "A" for actual time.)"));
    TimeList[0]->setToolTip(
        QStringLiteral(R"(Enter elapsed or actual time in format "HH:MM:SS".)"));

    txtSayThisNow =
        designed(QStringLiteral("txtSayThisNow"),
                 new QLineEdit(QStringLiteral("This is a test"), this), 1680, 6360, 8400, 285, 16);
    txtSayThisNow->setMaxLength(PhraseMaxLength);
    cmdSayThisNow = designed(QStringLiteral("cmdSayThisNow"),
                             new QPushButton(QStringLiteral("Say This Now"), this), 240, 6360, 1335,
                             255, 15, QStringLiteral("Click here to test a phrase."));
    cboSelectVoice = designed(QStringLiteral("cboSelectVoice"),
                              dropDown({}, QStringLiteral("cboSelectVoice"), this), 2160, 360, 1725,
                              315, 4, QStringLiteral("Selects voice."));
    cmdReset =
        designed(QStringLiteral("cmdReset"), new QPushButton(QStringLiteral("Reset"), this), 240,
                 360, 735, 375, 3, QStringLiteral(R"(Resets timer to "Timer Start" value.)"));
    TextToSpeech1 = designed(QStringLiteral("TextToSpeech1"), new SpeechIndicator(this), 7800, 120,
                             975, 735, 2, QStringLiteral("Just for show."));

    tmrTimer1 = new QTimer(this);
    tmrTimer1->setTimerType(Qt::PreciseTimer);
    tmrTimer1->setInterval(100);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(HourglassPicture());
    geometry::Place(*Image1, 9000, 120, 675, 1335);

    Label3 = designed(QStringLiteral("Label3"), caption(QStringLiteral("Display Mode"), this), 6240,
                      120, 1455, 255, 49);
    Label2 = designed(QStringLiteral("Label2"), caption(QStringLiteral("Timer Mode"), this), 4080,
                      120, 855, 255, 47);
    Label1 = designed(QStringLiteral("Label1"), caption(QStringLiteral("Timer Start"), this), 5160,
                      120, 855, 255, 44);
    txtSelectVoice =
        designed(QStringLiteral("txtSelectVoice"), caption(QStringLiteral("Voice Selector"), this),
                 2160, 120, 1695, 255, 43);
    for (int i = 0; i < 5; ++i) {
        const auto line = static_cast<std::size_t>(i);
        Help[line] = designed(
            QStringLiteral("Help(%1)").arg(i), new ClickableLabel(HelpCaptions[line], this), 360,
            HelpTop + HelpSpacing * i, i == 0 ? 975 : 8535, 255, HelpTabIndex[line]);
    }
}

void frmHoravox::setTabOrder() {
    std::sort(tabStops_.begin(), tabStops_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QWidget* previous = nullptr;
    for (const auto& [index, control] : tabStops_) {
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue; // captions and the speech control keep their number but take no focus
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void frmHoravox::nameForScreenReaders() {
    // Buttons and captions speak for themselves; boxes and lists take the caption above them or
    // say what they hold, and a phrase row says which row and column it is.
    txtTimer->setAccessibleName(QStringLiteral("Timer"));
    txtTime->setAccessibleName(QStringLiteral("Actual time"));
    TimerStart->setAccessibleName(Label1->text());
    cboTimerMode->setAccessibleName(Label2->text());
    cboDisplayMode->setAccessibleName(Label3->text());
    cboSelectVoice->setAccessibleName(txtSelectVoice->text());
    for (QComboBox* list : {cboTimerMode, cboDisplayMode, cboSelectVoice}) {
        list->lineEdit()->setAccessibleName(list->accessibleName() + QStringLiteral(", text"));
        list->view()->setAccessibleName(list->accessibleName() + QStringLiteral(", entries"));
    }
    txtSayThisNow->setAccessibleName(QStringLiteral("Phrase to say now"));
    TextToSpeech1->setAccessibleName(QStringLiteral("Speech indicator"));
    Image1->setAccessibleName(QStringLiteral("Hourglass"));
    for (std::size_t i = 0; i < PhraseRowCount; ++i) {
        const QString row = QStringLiteral("Row %1, ").arg(i + 1);
        ElapsedActual[i]->setAccessibleName(row + QStringLiteral("E or A"));
        TimeList[i]->setAccessibleName(row + QStringLiteral("time"));
        SayList[i]->setAccessibleName(row + QStringLiteral("phrase"));
    }
}
