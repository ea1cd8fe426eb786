#pragma once

#include <QString>

// The synthesizer reports success even when nothing can be heard, so the program asks the sound
// server itself. Returns why speech cannot be heard, or an empty text when a playback stream
// could be opened.
QString SoundServerProblem();
