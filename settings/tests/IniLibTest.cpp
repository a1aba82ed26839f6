#include "SettingsTestSupport.h"

#include "settings/IniLib.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace valdora::test {
namespace {

using IniLibTest = SettingsTest;

const QByteArray ButtonFile = "; saved by hand\n"
                              "[Settings]\n"
                              "Name=Alpha\n"
                              "Empty=\n"
                              "Letters=abc\n"
                              "Number=12.5\n"
                              "Flag=1\n"
                              "Padded =  spaced value  \n"
                              "Quoted=\" x \"\n"
                              "Long=" +
                              QByteArray(200, 'x') +
                              "\n"
                              "[Other]\n"
                              "Name=Beta\n";

struct ReadCase {
    const char* name;
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* valueType;
    const char* replacement;
    QString expected;
};

class GetKeyValueTest : public SettingsTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(GetKeyValueTest, ReadsAsThePlatformDoes)
{
    const ReadCase& c = GetParam();
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, ButtonFile));
    EXPECT_EQ(m_ini.GetKeyValue(QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                                QString::fromLatin1(c.defaultValue), QString::fromLatin1(c.valueType),
                                QString::fromLatin1(c.replacement), file),
              c.expected);
    // The keys of a file read at once read as each read alone does (they have no numeric test).
    if (*c.valueType == '\0') {
        EXPECT_EQ(m_ini.readKeys(file).value(QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                                             QString::fromLatin1(c.defaultValue)),
                  c.expected);
    }
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetKeyValueTest,
    ::testing::Values(
        ReadCase{"Stored", "Settings", "Name", "d", "", "", QStringLiteral("Alpha")},
        ReadCase{"SectionAndKeyInAnyCase", "sETTINGS", "NAME", "d", "", "", QStringLiteral("Alpha")},
        ReadCase{"SecondSection", "other", "name", "d", "", "", QStringLiteral("Beta")},
        ReadCase{"EmptyValueIsDefault", "Settings", "Empty", "d", "", "", QStringLiteral("d")},
        ReadCase{"MissingKeyIsDefault", "Settings", "Nothing", "d", "", "", QStringLiteral("d")},
        ReadCase{"MissingSectionIsDefault", "Nowhere", "Name", "d", "", "", QStringLiteral("d")},
        ReadCase{"NumericLettersReplaced", "Settings", "Letters", "", "Numeric", "0", QStringLiteral("0")},
        ReadCase{"NumericLettersWithoutReplacement", "Settings", "Letters", "", "Numeric", "",
                 QStringLiteral("abc")},
        ReadCase{"NumericNumberKept", "Settings", "Number", "", "Numeric", "0", QStringLiteral("12.5")},
        ReadCase{"DefaultGoesThroughTheTest", "Settings", "Nothing", "", "Numeric", "0", QStringLiteral("0")},
        ReadCase{"BooleanOne", "Settings", "Flag", "", "Boolean", "0", QStringLiteral("1")},
        ReadCase{"BooleanLettersReplaced", "Settings", "Letters", "", "Boolean", "-1", QStringLiteral("-1")},
        ReadCase{"OtherTypeIsNoCheck", "Settings", "Letters", "", "numeric", "0", QStringLiteral("abc")},
        ReadCase{"BlanksAroundDropped", "Settings", "padded", "", "", "", QStringLiteral("spaced value")},
        ReadCase{"QuotesRemoved", "Settings", "Quoted", "", "", "", QStringLiteral(" x ")},
        ReadCase{"LongValueCutTo126", "Settings", "Long", "", "", "", QString(126, u'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniLibTest, MissingFileReadsAsDefaults)
{
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("-1"), {},
                                {}, path(QStringLiteral("absent.ini"))),
              u"-1");
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("-1"), {},
                                {}, m_dir.path()),
              u"-1"); // a folder is no file either
    for (const QString& absent : {path(QStringLiteral("absent.ini")), m_dir.path()}) {
        const IniFileKeys keys = m_ini.readKeys(absent);
        EXPECT_FALSE(keys.exists()) << absent.toStdString();
        EXPECT_EQ(keys.value(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("-1")),
                  u"-1");
    }
}

TEST_F(IniLibTest, EmptyFileNameMeansTheCurrentSettingsFile)
{
    const QString settings = path(QStringLiteral("valdora.ini"));
    m_ini.setCurrentSettingsFile(settings);
    EXPECT_TRUE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("v")));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Key")), u"v");
    EXPECT_EQ(readFile(settings), "[Settings]\r\nKey=v\r\n");
}

TEST_F(IniLibTest, WriteCreatesFileSectionAndKey)
{
    const QString file = path(QStringLiteral("~100.ini"));
    EXPECT_TRUE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("First"), file));
    EXPECT_TRUE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("0"), file));
    EXPECT_TRUE(m_ini.SetKeyValue(QStringLiteral("Extra"), QStringLiteral("A"), QStringLiteral("1"), file));
    EXPECT_EQ(readFile(file), "[Settings]\r\nName=First\r\nType=0\r\n[Extra]\r\nA=1\r\n");
}

TEST_F(IniLibTest, WriteReplacesInPlaceAndKeepsEveryOtherLine)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, "; a comment\n[Settings]\nNAME = Old\nType=1\n\n[Other]\r\nx=y\n"));
    EXPECT_TRUE(
        m_ini.SetKeyValue(QStringLiteral("settings"), QStringLiteral("name"), QStringLiteral("New"), file));
    EXPECT_TRUE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Added"), QStringLiteral("2"), file));
    EXPECT_EQ(readFile(file),
              "; a comment\r\n[Settings]\r\nNAME =New\r\nType=1\r\nAdded=2\r\n\r\n[Other]\r\nx=y\r\n");
}

TEST_F(IniLibTest, EmptyValueKeepsTheKeyAndReadsAsDefault)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nAppenSep=;\r\n"));
    EXPECT_TRUE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("AppenSep"), QString(), file));
    EXPECT_EQ(readFile(file), "[Settings]\r\nAppenSep=\r\n");
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("AppenSep"), QStringLiteral("d"),
                                {}, {}, file),
              u"d");
}

TEST_F(IniLibTest, ValuesReadBackAsWritten)
{
    const QString file = path(QStringLiteral("~100.ini"));
    const QStringList values{QStringLiteral(", "),  QStringLiteral(" "),        QStringLiteral("\"quoted\""),
                             QStringLiteral("'a'"), QStringLiteral("a=b;c[d]"), QStringLiteral("€ café ‘x’")};
    for (const QString& value : values) {
        ASSERT_TRUE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Value0"), value, file));
        EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Value0"), {}, {}, {}, file),
                  value);
    }
}

TEST_F(IniLibTest, FilesAreWindows1252)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nFormat=\xF8|\xFA\r\nName=caf\xE9 \x80\x92\r\n"));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Format"), {}, {}, {}, file),
              QStringLiteral("\u00F8|\u00FA"));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
              QStringLiteral("caf\u00E9 \u20AC\u2019"));
    ASSERT_TRUE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Target"),
                                  QStringLiteral("\u00C9t\u00E9 \u4E2D"), file));
    EXPECT_EQ(readFile(file),
              "[Settings]\r\nFormat=\xF8|\xFA\r\nName=caf\xE9 \x80\x92\r\nTarget=\xC9t\xE9 ?\r\n");
}

TEST_F(IniLibTest, BadNamesAndLineBreaksAreRefusedAndChangeNothing)
{
    const QString file = path(QStringLiteral("~100.ini"));
    const QByteArray before = "[Settings]\r\nName=Keep\r\n";
    ASSERT_TRUE(writeFile(file, before));
    const auto set = [&](const QString& section, const QString& key, const QString& value) {
        return m_ini.SetKeyValue(section, key, value, file);
    };
    EXPECT_FALSE(
        set(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("a\r\n[Settings]\r\nType=5")));
    EXPECT_FALSE(set(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("a\nb")));
    EXPECT_FALSE(set(QStringLiteral("Settings"), QStringLiteral("Na=me"), QStringLiteral("x")));
    EXPECT_FALSE(set(QStringLiteral("Settings"), QStringLiteral(" "), QStringLiteral("x")));
    EXPECT_FALSE(set(QStringLiteral("Set]tings"), QStringLiteral("Name"), QStringLiteral("x")));
    EXPECT_FALSE(set(QString(), QStringLiteral("Name"), QStringLiteral("x")));
    EXPECT_EQ(readFile(file), before);
}

TEST_F(IniLibTest, FailedWritesReturnFalseAndChangeNothing)
{
    // A missing folder is not created.
    const QString inMissingFolder = path(QStringLiteral("missing/~100.ini"));
    EXPECT_FALSE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("x"),
                                   inMissingFolder));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));

    // A read-only file stays as it is, even for a user who could write it anyway.
    const QString readOnly = path(QStringLiteral("~101.ini"));
    ASSERT_TRUE(writeFile(readOnly, "[Settings]\r\nName=Keep\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    EXPECT_FALSE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("x"), readOnly));
    EXPECT_EQ(readFile(readOnly), "[Settings]\r\nName=Keep\r\n");

    // No settings file at all.
    EXPECT_FALSE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("x")));
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(IniLibTest, UnwritableFolderFailsAndChangesNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "a superuser writes into any folder";
    const QString folder = path(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/~100.ini");
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nName=Keep\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    EXPECT_FALSE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("x"), file));
    EXPECT_EQ(readFile(file), "[Settings]\r\nName=Keep\r\n");
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

TEST_F(IniLibTest, ALinkedFileIsWrittenThroughTheLink)
{
    const QString real = path(QStringLiteral("real.ini"));
    const QString link = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(real, "[Settings]\r\n"));
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_TRUE(
        m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("x"), link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(real), "[Settings]\r\nName=x\r\n");
}

TEST_F(IniLibTest, SameLengthRewriteByAnotherProcessRightAfterAReadIsSeen)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nName=Alpha\r\n"));
    for (const char* value : {"Bravo", "Delta", "Gamma"}) {
        EXPECT_NE(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
                  QString::fromLatin1(value));
        ASSERT_EQ(runHelper({QStringLiteral("set-ini"), file, QStringLiteral("Settings"),
                             QStringLiteral("Name"), QString::fromLatin1(value)})
                      .exitCode,
                  0);
        EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
                  QString::fromLatin1(value));
    }
}

TEST_F(IniLibTest, FilesOfEverySizeAreReadToTheirLastKey)
{
    // Files of 33 bytes to 70 kB, and of 4,095 to 4,097 bytes around a page.
    for (const int padding : {0, 1, 4062, 4063, 4064, 70000}) {
        const QString file = path(QStringLiteral("~%1.ini").arg(100 + padding));
        const QByteArray text = "[Pad]\r\nX=" + QByteArray(padding, 'x') + "\r\n[Settings]\r\nLast=yes\r\n";
        ASSERT_TRUE(writeFile(file, text));
        EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Last"), {}, {}, {}, file),
                  u"yes")
            << "a file of " << text.size() << " bytes";
    }
    // A folder where the file should be reads as no file.
    const QString folder = path(QStringLiteral("~99.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Last"), QStringLiteral("none"),
                                {}, {}, folder),
              u"none");
}

TEST_F(IniLibTest, SettledFileIsServedFromCacheUntilItChanges)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nName=Alpha\r\n"));
    QThread::msleep(2100); // the file settles
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
              u"Alpha");
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
              u"Alpha");
    // Rewritten in place with the same size by another program: its change time moves.
    ASSERT_TRUE(writeFile(file, "[Settings]\r\nName=Omega\r\n"));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
              u"Omega");
    // Replaced by another process: a new file.
    ASSERT_EQ(runHelper({QStringLiteral("set-ini"), file, QStringLiteral("Settings"), QStringLiteral("Name"),
                         QStringLiteral("Sigma")})
                  .exitCode,
              0);
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), {}, {}, {}, file),
              u"Sigma");
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("gone"),
                                {}, {}, file),
              u"gone");
}

TEST_F(IniLibTest, ConcurrentWritersOfDifferentKeysBothKeepTheirKeys)
{
    const QString file = path(QStringLiteral("~100.ini"));
    constexpr int Count = 100;
    QProcess first;
    QProcess second;
    startHelper(first, {QStringLiteral("fill-ini"), file, QStringLiteral("Settings"), QStringLiteral("A"),
                        QString::number(Count)});
    startHelper(second, {QStringLiteral("fill-ini"), file, QStringLiteral("Settings"), QStringLiteral("B"),
                         QString::number(Count)});
    ASSERT_TRUE(first.waitForFinished(60000)) << "first did not end within the wait";
    ASSERT_TRUE(second.waitForFinished(60000)) << "second did not end within the wait";
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    for (int i = 0; i < Count; ++i) {
        for (const char* prefix : {"A", "B"}) {
            EXPECT_EQ(m_ini.GetKeyValue(QStringLiteral("Settings"),
                                        QString::fromLatin1(prefix) + QString::number(i), {}, {}, {}, file),
                      QString::number(i));
        }
    }
}

TEST_F(IniLibTest, ReaderInAnotherProcessNeverSeesAHalfWrittenFile)
{
    const QString file = path(QStringLiteral("~100.ini"));
    QByteArray content = "[Settings]\r\n";
    for (int i = 0; i < 140; ++i)
        content += "Key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(writeFile(file, content));
    QProcess reader;
    startHelper(reader, {QStringLiteral("watch-ini"), file, QStringLiteral("Settings"),
                         QStringLiteral("Key139"), QStringLiteral("3000")});
    for (int i = 0; reader.state() != QProcess::NotRunning && i < 2000; ++i)
        ASSERT_TRUE(m_ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Key0"),
                                      QString(i % 90, u'x'), file));
    ASSERT_TRUE(reader.waitForFinished(60000)) << "reader did not end within the wait";
    EXPECT_EQ(reader.exitCode(), 0);
}

} // namespace
} // namespace valdora::test
