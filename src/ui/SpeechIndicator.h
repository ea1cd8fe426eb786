#pragma once

#include <QWidget>

// The speech control's place on the window: a small loudspeaker that sends out waves while
// speech is being heard. It takes no focus and reacts to nothing.
class SpeechIndicator final : public QWidget {
public:
    explicit SpeechIndicator(QWidget* parent);

    bool Speaking() const { return speaking_; }
    // Repaints only when the state changes.
    void SetSpeaking(bool speaking);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool speaking_ = false;
};
