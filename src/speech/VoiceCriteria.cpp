#include "speech/VoiceCriteria.h"

#include <algorithm>
#include <tuple>

namespace {

QString normalisedTag(const QString& language) {
    QString tag = language.trimmed().toLower();
    tag.replace(u'_', u'-');
    return tag.section(u'.', 0, 0).section(u'@', 0, 0); // "de_DE.UTF-8@euro" -> "de-de"
}

QString primaryOf(const QString& tag) {
    return tag.section(u'-', 0, 0);
}

// 2 for a criterion met, 1 for a language met only in its primary tag, 0 for none.
int fit(const VoiceInfo& voice, const QString& key, const QString& value) {
    const auto met = [](bool yes) { return yes ? 2 : 0; };
    if (key.compare(u"Name", Qt::CaseInsensitive) == 0)
        return met(voice.name.compare(value, Qt::CaseInsensitive) == 0);
    if (key.compare(u"Language", Qt::CaseInsensitive) == 0) {
        const int language = LanguageFit(voice, value);
        return language > 200 ? 2 : language > 0 ? 1 : 0;
    }
    if (key.compare(u"Gender", Qt::CaseInsensitive) == 0)
        return met(QString::number(voice.gender) == value);
    if (key.compare(u"Mfg", Qt::CaseInsensitive) == 0)
        return met(voice.maker.compare(value, Qt::CaseInsensitive) == 0);
    return 0;
}

int criteriaMet(const VoiceInfo& voice, const QString& criteria) {
    int met = 0;
    for (const QString& pair : criteria.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals > 0)
            met += fit(voice, pair.left(equals).trimmed(), pair.mid(equals + 1).trimmed());
    }
    return met;
}

} // namespace

int LanguageFit(const VoiceInfo& voice, const QString& language) {
    const QString wanted = normalisedTag(language);
    if (wanted.isEmpty())
        return 0;
    // A voice for "fr-be" lists plain "fr" too, at the priority it has for French in general.
    int fit = 0;
    for (const VoiceLanguage& spoken : voice.languages) {
        const QString tag = normalisedTag(spoken.tag);
        const int band = tag == wanted ? 300 : tag == primaryOf(wanted) ? 200 : 100;
        if (primaryOf(tag) == primaryOf(wanted))
            fit = std::max(fit, band - std::clamp(spoken.priority, 0, 99));
    }
    return fit;
}

int BestVoice(const std::vector<VoiceInfo>& voices, const QString& criteria,
              const QString& userLanguage) {
    int best = 0;
    std::tuple<int, bool, int, int, int> bestScore{-1, false, 0, 0, 0};
    for (std::size_t i = 0; i < voices.size(); ++i) {
        const VoiceInfo& voice = voices[i];
        // Criteria count most, then the program's own voices, the user's language, English.
        const std::tuple score{
            criteriaMet(voice, criteria), !voice.desktop, LanguageFit(voice, userLanguage),
            LanguageFit(voice, QStringLiteral("en-gb")), LanguageFit(voice, QStringLiteral("en"))};
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}
