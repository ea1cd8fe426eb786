#pragma once
// A window wired to fakes, loaded unless asked not to, never shown; ticks are driven by hand.
#include "Fakes.h"
#include "app/frmHoravox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <memory>

struct WindowFixture {
    FakeClock clock;
    RecordingSpeech speech;
    RecordingStarter starter;
    FakeFrame frame;
    FakeReader reader;
    std::unique_ptr<frmHoravox> window;

    explicit WindowFixture(QTime start = QTime(10, 0, 0), QMargins frameMargins = {},
                           bool frameToldWhenShown = false, bool load = true) {
        clock.set(start.hour(), start.minute(), start.second());
        frame.margins = frameMargins;
        frame.toldWhenShown = frameToldWhenShown;
        window = std::make_unique<frmHoravox>(clock, speech, starter, frame, reader);
        window->tmrTimer1->stop();
        if (load)
            window->Load();
    }
    // One tick, `day` days after the start, through the window's own error handling.
    void tickAt(int h, int m, int s, int day = 0, int ms = 0) {
        clock.set(h, m, s, day, ms);
        window->Tick();
    }
    QString timer() const { return window->txtTimer->text(); }
    void setMode(const QString& text) { window->cboTimerMode->setEditText(text); }
    void choose(QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};
