#include "host/client/HostProtocol.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/app/TriggerCommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::test {
namespace {

using namespace valdora::host;

TEST(HostProtocol, MessagesSurviveFramingAndArriveInPieces)
{
    const protocol::Message first{protocol::Op::SetField, 25, {QStringLiteral("Zébra, Works"), QString()}};
    const protocol::Message second{protocol::Op::Event, 2, {}};
    const QByteArray bytes = protocol::encode(first) + protocol::encode(second);
    protocol::FrameReader reader;
    QList<protocol::Message> read;
    for (const char byte : bytes) {
        reader.append(QByteArray(1, byte));
        while (auto message = reader.next())
            read.append(*message);
    }
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].op, first.op);
    EXPECT_EQ(read[0].number, 25);
    EXPECT_EQ(read[0].texts, first.texts);
    EXPECT_EQ(read[1].op, protocol::Op::Event);
    EXPECT_FALSE(reader.broken());
}

TEST(HostProtocol, OversizedOrUnreadableFramesBreakTheReader)
{
    protocol::FrameReader oversized;
    oversized.append(QByteArray("\x7f\xff\xff\xff", 4));
    EXPECT_EQ(oversized.next(), std::nullopt);
    EXPECT_TRUE(oversized.broken());

    protocol::FrameReader garbage;
    garbage.append(QByteArray("\x00\x00\x00\x03xyz", 7));
    EXPECT_EQ(garbage.next(), std::nullopt);
    EXPECT_TRUE(garbage.broken());
}

class TriggerText : public ::testing::Test {
protected:
    QString program(const QString& relative, bool executable = true)
    {
        const QString path = m_dir.filePath(relative);
        EXPECT_TRUE(writeFile(path, "#!/bin/sh\n"));
        if (executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(TriggerText, TheLongestLeadingProgramWinsAndTheRestIsItsArgumentText)
{
    const QString spaced = program(QStringLiteral("My Tools/Valdora Auto/ValdoraAuto.exe"));
    const QString shorter = program(QStringLiteral("My Tools/Valdora"));
    struct Case {
        QString text;
        QString program;
        QString arguments;
    };
    const Case cases[] = {
        {spaced + QStringLiteral(" ~100,~101"), spaced, QStringLiteral("~100,~101")},
        {spaced + QStringLiteral(" ~100, ~101"), spaced, QStringLiteral("~100, ~101")},
        {spaced, spaced, QString()},
        {shorter + QStringLiteral(" Auto/other ~1"), shorter, QStringLiteral("Auto/other ~1")},
        {spaced + QStringLiteral("  two blanks"), spaced, QStringLiteral(" two blanks")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto command = resolveTrigger(c.text);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->program, c.program);
        EXPECT_EQ(command->arguments, c.arguments);
        EXPECT_FALSE(command->macro);
    }
}

TEST_F(TriggerText, MissingProgramsPlainFilesAndMacros)
{
    const QString plain = program(QStringLiteral("notes.txt"), false);
    EXPECT_EQ(resolveTrigger(m_dir.filePath(QStringLiteral("absent.exe ~100"))), std::nullopt);
    EXPECT_EQ(resolveTrigger(plain + QStringLiteral(" ~100")), std::nullopt);
    EXPECT_EQ(resolveTrigger(QString()), std::nullopt);
    const QString macro = program(QStringLiteral("My Macros/fill.MPR"), false);
    const auto command = resolveTrigger(macro);
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(command->macro);
    const auto absentMacro = resolveTrigger(m_dir.filePath(QStringLiteral("gone.mpr")));
    ASSERT_TRUE(absentMacro.has_value());
    EXPECT_TRUE(absentMacro->macro);
}

} // namespace
} // namespace valdora::test
