#include "FakeFields.h"

#include "triggers/ButtonChoices.h"
#include "triggers/FieldChoices.h"
#include "triggers/TriggerRows.h"

#include "core/ErrorReport.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "settings/ButtonFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::triggers::test {
namespace {

struct TypeRow {
    qint16 type;
    bool offered;
};

class FieldTypeTest : public ::testing::TestWithParam<TypeRow> {};

TEST_P(FieldTypeTest, OffersOnlyTypesThatCarryTriggers)
{
    EXPECT_EQ(canCarryTrigger(30, GetParam().type), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(Triggers, FieldTypeTest,
                         ::testing::Values(TypeRow{0, false}, TypeRow{1, true}, TypeRow{5, true},
                                           TypeRow{6, true}, TypeRow{7, false}, TypeRow{8, true},
                                           TypeRow{9, true}, TypeRow{10, false}, TypeRow{11, false},
                                           TypeRow{12, false}, TypeRow{13, false}, TypeRow{14, false},
                                           TypeRow{15, true}),
                         [](const auto& info) { return "Type" + std::to_string(info.param.type); });

TEST(FieldListTest, SkipsTheHostsOwnFieldsAndStopsAtTheCount)
{
    FakeFields fields;
    fields.add(2, 1, QStringLiteral("Company"));
    fields.add(3, 0, QStringLiteral("Zero"));
    fields.add(5, 7, QStringLiteral("Seven"));
    fields.add(9, 8, QStringLiteral("Birthday"));
    fields.add(124, 1, QStringLiteral("Before"));
    for (const host::FieldId id : {125, 201, 202, 203})
        fields.add(id, 1, QStringLiteral("Own %1").arg(id));
    fields.add(204, 15, QStringLiteral("Web"));
    fields.add(400, 13, QStringLiteral("User"));
    KeelbrookTrace trace;
    const QList<TriggerFieldChoice> expected{{2, QStringLiteral("Company")},
                                             {9, QStringLiteral("Birthday")},
                                             {124, QStringLiteral("Before")},
                                             {204, QStringLiteral("Web")}};
    EXPECT_EQ(Field_List(fields, trace), expected);
    EXPECT_EQ(trace.path(), u"Field_List/");
    EXPECT_EQ(trace.currently(), 2);
}

TEST(FieldListTest, ACountBeyondTheFieldsEndsAtTheLastIndex)
{
    FakeFields fields;
    fields.add(2, 1, QStringLiteral("Company"));
    fields.overstateCount(3);
    KeelbrookTrace trace;
    EXPECT_EQ(Field_List(fields, trace), (QList<TriggerFieldChoice>{{2, QStringLiteral("Company")}}));
}

class ButtonFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + u'/';
    }
    void button(const QString& fileName, const QString& name, const QString& database = {})
    {
        const ButtonFile file = ButtonFile::inFolder(m_ini, m_folder, fileName);
        ASSERT_TRUE(file.write(ButtonKey::Name, name));
        if (!database.isEmpty()) {
            ASSERT_TRUE(file.write(ButtonKey::LimitedToDB, database));
        }
    }

    ScriptedPlatform m_platform;
    ErrorReporter m_reporter{m_platform, QStringLiteral("Keelbrook"), [] { return QString(); }};
    IniLib m_ini{m_reporter};
    QTemporaryDir m_dir;
    QString m_folder;
};

TEST_F(ButtonFolderTest, OffersTheButtonsOfTheDatabaseByIdentifier)
{
    button(QStringLiteral("~100.ini"), QStringLiteral("Number"));
    button(QStringLiteral("~101.ini"), QStringLiteral("Elsewhere"), QStringLiteral("Other.dbf"));
    button(QStringLiteral("~102.ini"), QStringLiteral("Here"), QStringLiteral("Contacts.dbf"));
    button(QStringLiteral("~103.ini"), QStringLiteral("Case"), QStringLiteral("contacts.dbf"));
    button(QStringLiteral("~1a.ini"), QStringLiteral("Not a number"));
    button(QStringLiteral("~.ini"), QStringLiteral("No number"));
    button(QStringLiteral("~1000.ini"), QStringLiteral("Thousand"));
    button(QStringLiteral("valdora.ini"), QStringLiteral("Settings"));
    ASSERT_TRUE(valdora::test::writeFile(m_folder + QStringLiteral("~104.num"), "7"));

    KeelbrookTrace trace;
    const QList<ButtonChoice> expected{{QStringLiteral("~100"), QStringLiteral("Number")},
                                       {QStringLiteral("~1000"), QStringLiteral("Thousand")},
                                       {QStringLiteral("~102"), QStringLiteral("Here")}};
    EXPECT_EQ(Get_Buttons(m_ini, m_folder, QStringLiteral("Contacts.dbf"), trace), expected);
    EXPECT_EQ(trace.path(), u"Get_Buttons/");
}

TEST_F(ButtonFolderTest, AnEmptyFolderOffersNothing)
{
    KeelbrookTrace trace;
    EXPECT_TRUE(Get_Buttons(m_ini, m_folder, QStringLiteral("Contacts.dbf"), trace).isEmpty());
}

TEST_F(ButtonFolderTest, CaptionsOfAnyDatabaseDescribeTriggers)
{
    button(QStringLiteral("~101.ini"), QStringLiteral("Elsewhere"), QStringLiteral("Other.dbf"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    button(QStringLiteral("sub/~1.ini"), QStringLiteral("Nested"));
    const TriggerText::NameLookup names = buttonNamesIn(m_ini, m_folder);
    EXPECT_EQ(names(QStringLiteral("~101")), u"Elsewhere");
    EXPECT_EQ(names(QStringLiteral("~999")), u"");
    EXPECT_EQ(names(QStringLiteral("sub/~1")), u"");
    EXPECT_EQ(
        TriggerText::describe(QStringLiteral("/opt/K/ValdoraAuto.exe ~101"), QStringLiteral("/opt/K"), names),
        u"Valdora Button: Elsewhere");
}

class TriggerRowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fields.add(4, 1, QStringLiteral("Phone"));
        m_fields.add(9, 1, QStringLiteral("City"));
        m_fields.add(12, 1, QStringLiteral("Quiet"));
        m_fields.add(1500, 1, QStringLiteral("Last"));
        m_fields.add(1501, 1, QStringLiteral("Beyond"));
        m_fields.at(4).entry = QStringLiteral("/opt/K/ValdoraAuto.exe ~100");
        m_fields.at(4).exit = QStringLiteral("/home/u/fill.mpr");
        m_fields.at(9).exit = QStringLiteral("/opt/K/ValdoraAuto.exe ~100,~101");
        m_fields.at(1500).entry = QStringLiteral("/usr/bin/tool.exe");
        m_fields.at(1501).entry = QStringLiteral("/usr/bin/unseen.exe");
    }
    TriggerRowContext context(std::optional<RememberedTrigger> remembered = std::nullopt) const
    {
        return {m_messages, QStringLiteral("/opt/K"), names, std::move(remembered)};
    }
    static QString names(const QString& identifier)
    {
        return identifier == u"~100"   ? QStringLiteral("Number")
               : identifier == u"~101" ? QStringLiteral("Date")
                                       : QString();
    }

    Messages m_messages{MessageTable::keelbrook(), 300};
    FakeFields m_fields;
};

TEST_F(TriggerRowsTest, ListsEveryTriggerByFieldEntryFirst)
{
    KeelbrookTrace trace;
    const QList<TriggerRow> rows = listTriggers(m_fields, context(), trace);
    const QList<TriggerRow> expected{
        {1, "Phone", "Entry", "Valdora Button: Number", 4, "/opt/K/ValdoraAuto.exe ~100", false},
        {2, "Phone", "Exit", "/home/u/fill.mpr", 4, "/home/u/fill.mpr", false},
        {3, "City", "Exit", "Valdora Buttons: Number, Date", 9, "/opt/K/ValdoraAuto.exe ~100,~101", false},
        {4, "Last", "Entry", "/usr/bin/tool.exe", 1500, "/usr/bin/tool.exe", false}};
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(trace.path().startsWith(u"Write_Trigger(4,Entry,1)/Write_Trigger(4,Exit,2)/"));
    EXPECT_EQ(trace.currently(), 1500 + 2000);
}

TEST_F(TriggerRowsTest, TypeTextsFollowTheLanguage)
{
    const Messages german(MessageTable::keelbrook(), 2300);
    const TriggerRowContext inGerman{german, QStringLiteral("/opt/K"), names, std::nullopt};
    KeelbrookTrace trace;
    const QList<TriggerRow> rows = listTriggers(m_fields, inGerman, trace);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.at(0).typeText, german.get(MessageId::TriggerEntry));
    EXPECT_EQ(rows.at(1).typeText, german.get(MessageId::TriggerExit));
    EXPECT_EQ(kindOfTypeText(german, rows.at(1).typeText), TriggerKind::Exit);
    EXPECT_EQ(kindOfTypeText(german, rows.at(0).typeText), TriggerKind::Entry);
}

struct SelectionRow {
    const char* name;
    RememberedTrigger remembered;
    int selectedRow; // 0: none
};

class SelectionTest : public TriggerRowsTest, public ::testing::WithParamInterface<SelectionRow> {};

TEST_P(SelectionTest, SelectsTheTriggerJustWritten)
{
    KeelbrookTrace trace;
    const QList<TriggerRow> rows = listTriggers(m_fields, context(GetParam().remembered), trace);
    for (const TriggerRow& row : rows)
        EXPECT_EQ(row.selected, row.row == GetParam().selectedRow) << row.row;
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, SelectionTest,
    ::testing::Values(
        SelectionRow{"SameFieldKindAndText", {4, TriggerKind::Entry, "/opt/K/ValdoraAuto.exe ~100"}, 1},
        SelectionRow{"ExitOfTheSameField", {4, TriggerKind::Exit, "/home/u/fill.mpr"}, 2},
        SelectionRow{
            "TextWithinTheWrittenOne", {9, TriggerKind::Exit, "/opt/K/ValdoraAuto.exe ~100,~101 "}, 3},
        SelectionRow{"OtherKind", {9, TriggerKind::Entry, "/opt/K/ValdoraAuto.exe ~100,~101"}, 0},
        SelectionRow{"OtherText", {4, TriggerKind::Entry, "/opt/K/ValdoraAuto.exe ~103"}, 0}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace valdora::triggers::test
