#pragma once

#include <QString>

// The text as the synthesizer should get it. Control characters have no spoken form, and one
// of them is the synthesizer's command escape: they go, line breaks and tabs as a blank so that
// the words they separate stay apart. Everything else is left as it is.
QString SpokenText(const QString& text);
