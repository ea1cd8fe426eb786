// Any criteria text and language pick one of the voices there are.
#include "FuzzInput.h"
#include "VoiceCriteria.h"

FUZZ_TEXT(text) {
    const QString criteria = text.section(u'\n', 0, 0), language = text.section(u'\n', 1);
    static const std::vector<VoiceInfo> voices{
        {"English (Great Britain)", "gmw/en", {{"en-gb"}, {"en"}}, 1},
        {"German", "gmw/de", {{"de"}}, 1},
        {"Woman", "x/w", {{"sv"}}, 2},
    };
    const int voice = BestVoice(voices, criteria, language);
    REQUIRE(voice >= 1 && voice <= 3);
    REQUIRE(BestVoice({}, criteria, language) == 0);
}
