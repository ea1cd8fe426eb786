// Any criteria text and language pick one of the voices there are.
#include "FuzzInput.h"
#include "VoiceCriteria.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = FuzzText(data, size);
    const qsizetype split = text.indexOf(u'\n');
    const QString criteria = split < 0 ? text : text.left(split);
    const QString language = split < 0 ? QString() : text.mid(split + 1);
    static const std::vector<VoiceInfo> voices{
        {"English (Great Britain)", "gmw/en", {{"en-gb"}, {"en"}}, 1},
        {"German", "gmw/de", {{"de"}}, 1},
        {"Woman", "x/w", {{"sv"}}, 2},
    };
    const int voice = BestVoice(voices, criteria, language);
    Require(voice >= 1 && voice <= 3, "a voice there is");
    Require(BestVoice({}, criteria, language) == 0, "none from no voices");
    return 0;
}
