#pragma once

#include "speech/VoiceCriteria.h"

#include <QString>
#include <vector>

// One synthesizer as the router sees it: its voices, choosing one, speaking and stopping. Voices
// are numbered from 1 in the order of Voices(). An engine may list its voices late
// (a service that answers after the start), and its list, once there, stays as it is. A voice
// with no identifier is the desktop's default voice, the one a screen reader speaks with.
// Used from the event thread only; nothing here waits for a sound server or a service.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    virtual std::vector<VoiceInfo> Voices() const = 0;
    virtual int VoiceCount() const = 0;
    // The voice this engine speaks with from now on, 1 to VoiceCount(); until one is chosen, the
    // synthesizer's own default.
    virtual void Choose(int voice) = 0;
    // Starts speaking text with nothing the synthesizer would take for a command (SpokenText),
    // and returns at once.
    virtual void Speak(const QString& text) = 0;
    // Ends what was asked to be said, unsaid or playing; nothing when there is none.
    virtual void Stop() = 0;
    // True while speech is being heard. Asked at every tick: never waits.
    virtual bool IsSpeaking() const = 0;
};
