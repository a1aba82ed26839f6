#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace valdora {

namespace {

/// The one translator of Qt's texts a program has installed; replaced when the language changes.
std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

QString languageCode(qint16 languageBase)
{
    switch (languageBase) {
    case 1300:
        return QStringLiteral("fr");
    case 2300:
        return QStringLiteral("de");
    default:
        return {};
    }
}

} // namespace

bool useQtTranslations(qint16 languageBase)
{
    std::unique_ptr<QTranslator>& current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const QString code = languageCode(languageBase);
    if (code.isEmpty() || !QCoreApplication::instance())
        return false;
    auto translator = std::make_unique<QTranslator>();
    // Debian ships them in qt6-translations-l10n; without it Qt's dialogs stay in English.
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}

} // namespace valdora
