#include "VoiceCriteria.h"

namespace {

const QString VoiceMaker = QStringLiteral("eSpeak NG");

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
    if (key.compare(u"Language", Qt::CaseInsensitive) == 0)
        return LanguageFit(voice, value);
    if (key.compare(u"Gender", Qt::CaseInsensitive) == 0)
        return met(QString::number(voice.gender) == value);
    if (key.compare(u"Mfg", Qt::CaseInsensitive) == 0)
        return met(VoiceMaker.compare(value, Qt::CaseInsensitive) == 0);
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
    int fit = 0;
    for (const QString& spoken : voice.languages) {
        const QString tag = normalisedTag(spoken);
        if (tag == wanted)
            return 2;
        if (primaryOf(tag) == primaryOf(wanted))
            fit = 1;
    }
    return fit;
}

int BestVoice(const std::vector<VoiceInfo>& voices, const QString& criteria,
              const QString& userLanguage) {
    int best = 0;
    int bestScore = -1;
    for (std::size_t i = 0; i < voices.size(); ++i) {
        const VoiceInfo& voice = voices[i];
        // Criteria count most, then the user's language, then English.
        const int score = criteriaMet(voice, criteria) * 100 +
                          LanguageFit(voice, userLanguage) * 10 +
                          LanguageFit(voice, QStringLiteral("en-gb")) * 2 +
                          LanguageFit(voice, QStringLiteral("en"));
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}
