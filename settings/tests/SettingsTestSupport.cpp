#include "SettingsTestSupport.h"

#include "settings/Cp1252.h"

namespace valdora::test {

HelperRun runHelper(const QStringList& arguments)
{
    QProcess process;
    startHelper(process, arguments);
    EXPECT_TRUE(process.waitForFinished(30000))
        << "helper did not end: " << arguments.join(u' ').toStdString();
    return {process.exitCode(), process.readAllStandardOutput()};
}

void startHelper(QProcess& process, const QStringList& arguments)
{
    process.setProgram(QStringLiteral(SETTINGS_TEST_HELPER));
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForStarted(10000)) << "helper did not start";
}

QByteArray buttonFileText(const QStringList& lines)
{
    QByteArray text = "[Settings]\r\n";
    for (const QString& line : lines)
        text += Cp1252::encode(line) + "\r\n";
    return text;
}

SettingsTest::SettingsTest()
{
    EXPECT_TRUE(m_dir.isValid());
}

} // namespace valdora::test
