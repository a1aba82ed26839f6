// Qt's own texts in the program's language, where the system has Qt's translations.
#include "core/QtTranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

#include <gtest/gtest.h>

namespace valdora {
namespace {

QString qtText(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

TEST(QtTranslations, QtsDialogsSpeakTheProgramsLanguage)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_fr.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    const QString english = qtText("QFileDialog", "File &name:");
    ASSERT_TRUE(useQtTranslations(1300));
    const QString french = qtText("QFileDialog", "File &name:");
    EXPECT_NE(french, english);
    ASSERT_TRUE(useQtTranslations(2300));
    const QString german = qtText("QFileDialog", "File &name:");
    EXPECT_NE(german, english);
    EXPECT_NE(german, french) << "the German translation replaces the French one";
    EXPECT_FALSE(useQtTranslations(300));
    EXPECT_EQ(qtText("QFileDialog", "File &name:"), english);
}

} // namespace
} // namespace valdora
