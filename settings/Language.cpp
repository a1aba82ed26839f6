#include "MessageTable.h"

#include "settings/UserKey.h"

#include "UserSettings.h"

#include "core/TextLocale.h"

#include <cmath>

namespace valdora {

namespace {

constexpr int LanguageCount = 3; // English, French, German

bool isKnownLanguage(int language)
{
    return language >= 0 && language < LanguageCount;
}

} // namespace

qint16 languageBaseFromSettings(const UserSettings& settings, int defaultLanguage, Where where)
{
    const int fallback = isKnownLanguage(defaultLanguage) ? defaultLanguage : 0;
    const QString stored =
        settings.get(Application::Valdora, UserKey::Options, UserKey::Language, QString::number(fallback));
    const QString text = stored.trimmed();
    // A blank value carries no choice: as if the key were absent.
    if (text.isEmpty())
        return static_cast<qint16>(fallback * 1000 + 300);
    // The platform's numeric value: the user's decimal separator, halves rounded to even.
    const std::optional<double> number = TextLocale().toNumber(text);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, where);
    // A number the table has no block for would leave every text empty: take the default language.
    const double rounded = std::nearbyint(*number);
    const int language = rounded >= 0 && rounded < LanguageCount ? static_cast<int>(rounded) : fallback;
    return static_cast<qint16>(language * 1000 + 300);
}

} // namespace valdora
