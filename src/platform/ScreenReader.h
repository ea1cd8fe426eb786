#pragma once

#include <functional>

// Whether the user runs a screen reader, as the desktop tells it. Off until the desktop has
// answered, and for good where nothing answers.
class ScreenReader {
public:
    virtual ~ScreenReader() = default;
    virtual bool IsOn() const = 0;
    // From now on `changed` runs on the event thread whenever IsOn() has changed.
    virtual void Watch(std::function<void()> changed) = 0;
};
