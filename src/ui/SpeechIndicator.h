#pragma once

#include <QWidget>
#include <functional>

// The speech control's place on the window: a small loudspeaker that sends out waves while
// speech is being heard. It takes no focus and reacts to nothing.
class SpeechIndicator final : public QWidget {
public:
    explicit SpeechIndicator(QWidget* parent);

    // Where it learns whether speech is being heard; nothing by default.
    void SetSource(std::function<bool()> isSpeaking) { isSpeaking_ = std::move(isSpeaking); }
    bool Speaking() const { return speaking_; }
    // Asks the source again; repaints only when the answer changes.
    void Poll();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<bool()> isSpeaking_;
    bool speaking_ = false;
};
