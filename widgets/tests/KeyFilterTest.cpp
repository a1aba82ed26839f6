// The key filter of the text boxes that take digits only, and the existence check of a path.
#include "widgets/KeyFilter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::widgets {

namespace {

TEST(KeyFilterTest, AllowedCharactersPassOthersBeep)
{
    int beeps = 0;
    const auto beep = [&beeps] { ++beeps; };
    const QString digits = QStringLiteral("0123456789");
    EXPECT_EQ(ValidateText('5', digits, true, beep), '5');
    EXPECT_EQ(ValidateText('a', digits, true, beep), 0);
    EXPECT_EQ(ValidateText(BackspaceKey, digits, true, beep), BackspaceKey);
    EXPECT_EQ(ValidateText(BackspaceKey, digits, false, beep), 0);
    EXPECT_EQ(ValidateText('b', QStringLiteral("ABC"), false, beep), 'b');
    EXPECT_EQ(beeps, 2);
}

TEST(KeyFilterTest, FileExistsForFilesAndFolders)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("a.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(file.fileName()));
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("b.ini"))));
    EXPECT_FALSE(FileExists(QString()));
}

} // namespace

} // namespace valdora::widgets
