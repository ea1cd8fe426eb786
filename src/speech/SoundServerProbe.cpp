#include "SoundServerProbe.h"

#include <pulse/error.h>
#include <pulse/simple.h>

QString SoundServerProblem() {
    const pa_sample_spec spec{PA_SAMPLE_S16LE, 22050, 1};
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Horavox", PA_STREAM_PLAYBACK, nullptr,
                                      "sound check", &spec, nullptr, nullptr, &error);
    if (!stream)
        return QStringLiteral("no sound server could be reached (%1)")
            .arg(QString::fromUtf8(pa_strerror(error)));
    pa_simple_free(stream);
    return {};
}
