#include "MessageTable.h"

#include "UserSettings.h"

namespace valdora {

namespace {

constexpr int kLanguageCount = 3; // English, French, German

bool isKnownLanguage(int language)
{
    return language >= 0 && language < kLanguageCount;
}

} // namespace

qint16 languageBaseFromSettings(const UserSettings& settings, int defaultLanguage, Where where)
{
    const int fallback = isKnownLanguage(defaultLanguage) ? defaultLanguage : 0;
    const QString stored = settings.get(Application::Valdora, QStringLiteral("Options"),
                                        QStringLiteral("Language"), QString::number(fallback));
    const QString text = stored.trimmed();
    // A blank value carries no choice: as if the key were absent.
    if (text.isEmpty())
        return static_cast<qint16>(fallback * 1000 + 300);
    bool ok = false;
    const int language = text.toInt(&ok);
    if (!ok)
        throw Failure(ErrorNumber::TypeMismatch, where);
    // A number the table has no block for would leave every text empty: take the default language.
    return static_cast<qint16>((isKnownLanguage(language) ? language : fallback) * 1000 + 300);
}

} // namespace valdora
