#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>

// A speech call that failed; the message is meant for the user as it stands.
class SpeechError : public std::runtime_error {
public:
    explicit SpeechError(const std::string& what) : std::runtime_error(what) {}
};

// The speech synthesizer as the window drives it. Voice numbers count from 1 to VoiceCount().
// Every call that fails throws SpeechError.
class SpeechControl {
public:
    virtual ~SpeechControl() = default;

    // Starts speaking and returns at once; the speech goes on while the program runs.
    virtual void Speak(const QString& text) = 0;
    virtual void StopSpeaking() = 0;

    // The number of the best voice for "Key=Value;Key=Value" criteria.
    virtual std::int32_t FindVoice(const QString& criteria) = 0;
    virtual void SelectVoice(std::int32_t voice) = 0;
    virtual std::int32_t VoiceCount() = 0;
    virtual QString VoiceName(std::int32_t voice) = 0;
    virtual std::int32_t VoiceAttribute(std::int32_t voice) = 0;
    virtual std::int32_t CurrentVoice() = 0;
    virtual void SetCurrentVoice(std::int32_t voice) = 0;
    virtual void SetVoiceFlag(std::int16_t flag) = 0;

    // The number of the voice a screen reader speaks with (the desktop's default voice, as the
    // user set it up), once it is listed; 0 while there is none.
    virtual std::int32_t ReaderVoice() = 0;
    // True while speech is being heard. Asked at every tick: never waits.
    virtual bool IsSpeaking() const = 0;
};
