// The three display modes and the two window heights they use.
#include "app/frmHoravox.h"
#include "platform/WindowFrame.h"
#include "ui/ClickableLabel.h"
#include "ui/ClockBox.h"
#include "ui/ControlGeometry.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

struct ClockPlacement {
    int fontSize;
    int height;
    int left;
    int top;
    int width;
};

constexpr ClockPlacement SmallTime{18, 495, 2160, 840, 1725};
constexpr ClockPlacement SmallTimer{18, 495, 240, 840, 1725};
constexpr ClockPlacement BigTimer{100, 2500, 240, 1500, 9855};
constexpr ClockPlacement BigTime{100, 2500, 240, 4800, 9855};
// What each window keeps in sight under a frame taller than the design allows for: the short
// window its clocks, the tall one its last instruction line.
constexpr double SmallClocksBottom = 840 + 495;
constexpr double LastInstructionBottom = 7680 + 255;

void place(QLineEdit& clock, const ClockPlacement& at, const VerticalUnit& unit) {
    geometry::SetFontSize(clock, at.fontSize);
    geometry::SetHeight(clock, at.height, unit);
    geometry::SetLeft(clock, at.left);
    geometry::SetTop(clock, at.top, unit);
    geometry::SetWidth(clock, at.width);
}

} // namespace

void frmHoravox::cboDisplayMode_Click() {
    if (cboDisplayMode->currentText() == u"Small Time")
        ShowSmallTime();
    else if (cboDisplayMode->currentText() == u"Big Time")
        ShowBigTime();
    else if (cboDisplayMode->currentText() == u"Show Phrases")
        ShowPhrases();
}

void frmHoravox::ShowSmallTime() {
    place(*txtTime, SmallTime, unit_);
    place(*txtTimer, SmallTimer, unit_);
    SetShortWindow();
    repaint();
}

void frmHoravox::ShowBigTime() {
    place(*txtTimer, BigTimer, unit_);
    place(*txtTime, BigTime, unit_);
    SetPhraseTableVisible(false);
    SetTallWindow();
    repaint();
}

void frmHoravox::ShowPhrases() {
    ShowSmallTime();
    SetTallWindow();
    SetPhraseTableVisible(true);
    repaint();
}

void frmHoravox::SetPhraseTableVisible(bool visible) {
    for (std::size_t i = 0; i < PhraseRowCount; ++i) {
        ElapsedActual[i]->setVisible(visible);
        TimeList[i]->setVisible(visible);
        SayList[i]->setVisible(visible);
        for (ClickableLabel* line : Help)
            line->setVisible(visible);
        cmdClearPhrases->setVisible(visible);
    }
}

void frmHoravox::SetShortWindow() {
    SetFormHeight(1900, SmallClocksBottom);
    SetScaleHeight(1440);
}

void frmHoravox::SetTallWindow() {
    SetFormHeight(8415, LastInstructionBottom);
    SetScaleHeight(8010);
}

void frmHoravox::SetFormHeight(int outerTwips, double mustShowTwips) {
    outerHeight_ = outerTwips;
    mustShowTwips_ = mustShowTwips;
    frameUsed_ = frame_.Around(*this);
    const double frameTwips = twips::FromPixels(frameUsed_.top() + frameUsed_.bottom());
    clientHeightTwips_ = ::ClientHeightTwips(outerTwips, frameTwips, mustShowTwips);
    QRect client = geometry();
    client.setHeight(twips::ToPixels(clientHeightTwips_));
    if (const QScreen* shown = screen())
        client = geometry::KeptOnScreen(client, frameUsed_, shown->availableGeometry());
    setGeometry(client);
}

void frmHoravox::SetScaleHeight(int scaleHeight) {
    scaleHeight_ = scaleHeight;
    unit_.SetScaleHeight(clientHeightTwips_, scaleHeight);
}

void frmHoravox::setVisible(bool visible) {
    QWidget::setVisible(visible);
    if (visible)
        FollowFrame();
}

// The layout in force gets its height and unit again, as if the frame had been known when it was
// laid; a frame change is not a resize by the user, so the controls stay where they are.
void frmHoravox::FollowFrame() {
    if (outerHeight_ > 0 && frame_.Around(*this) != frameUsed_) {
        SetFormHeight(outerHeight_, mustShowTwips_);
        SetScaleHeight(scaleHeight_);
    }
}
