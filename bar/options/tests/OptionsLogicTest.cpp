// The options' logic without windows: the link to the maker's page in the host's web-links folder, and
// the per-button "TargetDecimals" upgrade of settings stored by earlier versions.
#include "bar/options/MakerLink.h"
#include "bar/options/TargetDecimalsUpgrade.h"
#include "bar/startup/tests/StartupSession.h"

#include "core/testsupport/FailsWith.h"
#include "core/testsupport/QtPrinters.h"
#include "settings/ButtonFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

namespace valdora::bar {
namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<absent>");
}

using OptionsLogicTest = valdora::test::StartupSession;

TEST_F(OptionsLogicTest, TheMakerLinkIsWrittenOnceIntoTheHostsNetLinksFolder)
{
    const QString hostFolder = path(QStringLiteral("host"));
    ASSERT_TRUE(QDir().mkpath(hostFolder));
    const QString link = hostFolder + QStringLiteral("/NetLinks/Valdora.url");
    EXPECT_EQ(makerLinkPath(hostFolder), link);

    EXPECT_TRUE(Create_LinkMenuItem(m_session, hostFolder));
    EXPECT_EQ(
        contentOf(link),
        QByteArray("[&Valdora Software - Free Add-Ons for ContactHost]https://www.valdora.example/\r\n"));

    // A link that is there already, edited by the user, stays as it is.
    QFile edited(link);
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("[Mine]https://example.org/\r\n");
    edited.close();
    EXPECT_FALSE(Create_LinkMenuItem(m_session, hostFolder));
    EXPECT_EQ(contentOf(link), QByteArray("[Mine]https://example.org/\r\n"));
}

TEST_F(OptionsLogicTest, TheMakerLinkCaptionIsInTheCurrentLanguage)
{
    m_session.messages().setLanguageBase(2300);
    EXPECT_EQ(makerLinkLine(m_session.messages()),
              QStringLiteral(
                  "[&Valdora Software - Kostenlose Add-Ons für ContactHost]https://www.valdora.example/"));
}

TEST_F(OptionsLogicTest, AMakerLinkThatCannotBeWrittenFailsWithTheFolder)
{
    // A file where the folder should be.
    const QString hostFolder = path(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(hostFolder));
    QFile blocker(hostFolder + QStringLiteral("/NetLinks"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(valdora::test::failsWith(ErrorNumber::PathNotFound,
                                         QStringLiteral("Path not found: ") + blocker.fileName(),
                                         [&] { Create_LinkMenuItem(m_session, hostFolder); }));
}

/// A stored version and whether it asks for the upgrade.
struct VersionCase {
    const char* stored;
    bool due;
};

class TargetDecimalsDue : public ::testing::TestWithParam<VersionCase> {};

TEST_P(TargetDecimalsDue, ComparesTheStoredVersionAsText)
{
    EXPECT_EQ(targetDecimalsDue(QString::fromLatin1(GetParam().stored)), GetParam().due);
}

INSTANTIATE_TEST_SUITE_P(Versions, TargetDecimalsDue,
                         ::testing::Values(VersionCase{"", true}, VersionCase{"220", true},
                                           VersionCase{"300", true}, VersionCase{"309", true},
                                           VersionCase{"310", false}, VersionCase{"313", false},
                                           VersionCase{"4", false}, VersionCase{"1000", true}));

/// A field list of a few fields: id -> (type, decimals). Type and DecimalPlaces of any other id fail
/// as the host does.
class FakeFields final : public host::FieldList {
public:
    std::map<host::FieldId, std::pair<qint16, qint16>> fields;
    mutable int typeCalls = 0;

    qint16 Count(Where) const override { return qint16(fields.size()); }
    bool Exists(const QString&, Where) const override { return false; }
    host::FieldId FieldID(const QString&, Where) const override { return -1; }
    host::FieldId Id(qint16 number, Where) const override { return fields.contains(number) ? number : -1; }
    qint16 Type(host::FieldId id, Where where) const override
    {
        ++typeCalls;
        return at(id, where).first;
    }
    qint16 DecimalPlaces(host::FieldId id, Where where) const override { return at(id, where).second; }
    QString Label(host::FieldId, Where) const override { return {}; }
    QString EntryTrigger(host::FieldId, Where) const override { return {}; }
    void EntryTrigger(host::FieldId, const QString&, Where) override {}
    QString ExitTrigger(host::FieldId, Where) const override { return {}; }
    void ExitTrigger(host::FieldId, const QString&, Where) override {}

private:
    std::pair<qint16, qint16> at(host::FieldId id, Where where) const
    {
        const auto found = fields.find(id);
        if (found == fields.end())
            throw host::HostFailure(host::HostError::UnknownField, QStringLiteral("Item not found"), where);
        return found->second;
    }
};

TEST_F(OptionsLogicTest, NumericTargetsGetTheirDecimalsAndEveryOtherButtonIsLeftAlone)
{
    const QString folder = path(QStringLiteral("buttons/"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const IniLib& ini = m_session.ini();
    const auto button = [&](const QString& name, const QString& targetId) {
        const ButtonFile file = ButtonFile::inFolder(ini, folder, name);
        EXPECT_TRUE(file.write(ButtonKey::Name, name));
        if (!targetId.isNull()) {
            EXPECT_TRUE(file.write(ButtonKey::TargetID, targetId));
        }
        return file;
    };
    const ButtonFile numeric = button(QStringLiteral("~100.ini"), QStringLiteral("40"));
    const ButtonFile noDecimals = button(QStringLiteral("~101.ini"), QStringLiteral("41"));
    const ButtonFile currency = button(QStringLiteral("~102.ini"), QStringLiteral("42"));
    const ButtonFile text = button(QStringLiteral("~103.ini"), QStringLiteral("25"));
    const ButtonFile noTarget = button(QStringLiteral("~104.ini"), QString());
    const ButtonFile unknown = button(QStringLiteral("~105.ini"), QStringLiteral("999"));
    const ButtonFile damaged = button(QStringLiteral("~106.ini"), QStringLiteral("forty"));
    const ButtonFile notListed = button(QStringLiteral("~107.ini"), QStringLiteral("40"));

    FakeFields fields;
    fields.fields = {{40, {host::FieldType::Numeric, 2}},
                     {41, {host::FieldType::Numeric, 0}},
                     {42, {host::FieldType::Currency, 2}},
                     {25, {host::FieldType::Character, 0}}};
    const QStringList listed{QStringLiteral("~100.ini"), QStringLiteral("~101.ini"),
                             QStringLiteral("~102.ini"), QStringLiteral("~103.ini"),
                             QStringLiteral("~104.ini"), QStringLiteral("~105.ini"),
                             QStringLiteral("~106.ini")};
    EXPECT_EQ(upgradeTargetDecimals(ini, folder, listed, fields), 2);

    const QString absent = QStringLiteral("<absent>");
    EXPECT_EQ(numeric.read(ButtonKey::TargetDecimals, absent), QStringLiteral("2"));
    EXPECT_EQ(noDecimals.read(ButtonKey::TargetDecimals, absent), QStringLiteral("0"));
    for (const ButtonFile* untouched : {&currency, &text, &noTarget, &unknown, &damaged, &notListed})
        EXPECT_EQ(untouched->read(ButtonKey::TargetDecimals, absent), absent)
            << untouched->fileName().toStdString();
    // No host call for a button without a target id.
    EXPECT_EQ(fields.typeCalls, 5);
}

} // namespace
} // namespace valdora::bar
