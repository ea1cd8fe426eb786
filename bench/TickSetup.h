#pragma once
// The window wired to fakes, with the clock driven by hand, for timing one tick.
#include "WindowFixture.h"

#include <QApplication>

enum class TickKind { Plain, Scanning };

// Plain ticks stay in one second; scanning ticks step the clock a second each.
inline void TickOnce(WindowFixture& f, TickKind kind, int& second) {
    if (kind == TickKind::Scanning) {
        second = (second + 1) % 86400;
        f.clock.set(second / 3600, second / 60 % 60, second % 60);
    }
    f.window->Tick();
}

// Two rewrites of a line edit with the text it already holds.
inline void SetTextTwice(QLineEdit& a, QLineEdit& b) {
    a.setText(a.text());
    b.setText(b.text());
}
