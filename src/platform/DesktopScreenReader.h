#pragma once

#include "platform/ScreenReader.h"

#include <future>
#include <memory>
#include <thread>

class ScreenReaderListener;

// The screen reader as the accessibility bus tells it: the property ScreenReaderEnabled of
// org.a11y.Status on /org/a11y/bus of the service org.a11y.Bus, on the session bus, read once and
// then followed through PropertiesChanged. Connecting to the session bus may wait, so the
// connection is made, and the first reading asked for, on a thread of its own; the answers reach
// the event thread through its event loop. Without a session bus or the service the reader is off.
// Used from the event thread only; destroying it waits a second at most for a bus that hangs.
class DesktopScreenReader final : public ScreenReader {
public:
    DesktopScreenReader();
    ~DesktopScreenReader() override;
    DesktopScreenReader(const DesktopScreenReader&) = delete;
    DesktopScreenReader& operator=(const DesktopScreenReader&) = delete;

    bool IsOn() const override;
    void Watch(std::function<void()> changed) override;

private:
    std::unique_ptr<ScreenReaderListener> listener_;
    std::future<void> connected_;
    std::thread thread_;
};
