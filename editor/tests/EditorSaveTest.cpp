#include "FakeFieldList.h"

#include "editor/EditorSave.h"
#include "editor/SaveChecks.h"

#include "settings/tests/SettingsTestSupport.h"

#include <QDir>
#include <QFile>

namespace valdora::editor::test {
namespace {

using namespace valdora::test;

QStringList keysOf(const QByteArray& text)
{
    QStringList keys;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            keys << QString::fromLatin1(line.left(equals));
    }
    return keys;
}

class EditorSave : public SettingsTest {
protected:
    EditorSave()
    {
        m_host.add(7, QStringLiteral("Phone"));
        m_host.add(40, QStringLiteral("Amount"), 5, 2);
        m_host.add(60, QStringLiteral("Birth"), 8);
        m_host.add(61, QStringLiteral("Price"), 6, 2);
        m_fields = FieldListModel::fromHost(m_host);
        QDir().mkpath(m_folder);
        QDir().mkpath(m_counters);
    }

    EditorSources sources(QStringList barFiles = {}) const
    {
        return {m_ini,      m_folder,     m_counters, m_counters,
                m_messages, m_textLocale, m_fields,   std::move(barFiles)};
    }
    SaveEnvironment environment(QString last = {}) const
    {
        return {m_ini,          m_store, m_folder, m_counters, m_fields, QStringLiteral("/data/Sales.dbf"),
                std::move(last)};
    }
    QByteArray read(const QString& name) const { return readFile(m_folder + name); }
    bool write(const QString& name, const QStringList& lines) const
    {
        return writeFile(m_folder + name, buttonFileText(lines));
    }

    FakeFieldList m_host;
    FieldListModel m_fields;
    Messages m_messages;
    TextLocale m_textLocale{QLocale(QStringLiteral("en_US"))};
    UserSettings m_store{m_userSettings.path()};
    const QString m_folder = path(QStringLiteral("buttons/"));
    const QString m_counters = path(QStringLiteral("counters/"));
};

const QStringList CommonKeys{"Name",   "Type",           "Target",       "TargetID",     "TargetType",
                             "Format", "TargetDecimals", "_DB",          "Over0",        "Over1",
                             "Over2",  "Over3",          "AutoWarning0", "AutoWarning1", "AutoWarning2",
                             "Scope0", "Scope1",         "AppenSep",     "FontBold",     "ForeColor"};

QStringList indexedKeys(const QStringList& bases, int count)
{
    QStringList keys;
    for (int i = 0; i < count; ++i) {
        for (const QString& base : bases)
            keys << base + QString::number(i);
    }
    return keys;
}

struct NewButtonCase {
    const char* name;
    Scheme scheme;
    QStringList schemeKeys;
};

void PrintTo(const NewButtonCase& c, std::ostream* out)
{
    *out << c.name;
}

class EditorSaveNewButton : public EditorSave, public ::testing::WithParamInterface<NewButtonCase> {};

TEST_F(EditorSave, ACurrencyTargetKeepsItsDecimalPlacesAsANumericOneDoes)
{
    // ValdoraAuto formats by the stored places; the bar formats both kinds of target.
    for (const auto& [target, places] : {std::pair{QStringLiteral("Price"), QStringLiteral("2")},
                                         std::pair{QStringLiteral("Amount"), QStringLiteral("2")},
                                         std::pair{QStringLiteral("Phone"), QStringLiteral("-1")}}) {
        EditorState state = newEditorState(sources());
        state.caption = QStringLiteral("Times ") + target;
        state.target = target;
        state.typeTicked[static_cast<std::size_t>(codeOf(Scheme::MultiplyDivide))] = true;
        state.page = pageOf(Scheme::MultiplyDivide);
        const SaveOutcome outcome = saveEditorState(state, environment());
        ASSERT_TRUE(outcome.written) << target.toStdString();
        EXPECT_EQ(ButtonFile::inFolder(m_ini, m_folder, outcome.fileName).read("TargetDecimals"), places)
            << target.toStdString();
    }
}

TEST_P(EditorSaveNewButton, WritesEveryKeyInOrder)
{
    EditorState state = newEditorState(sources());
    const Scheme scheme = GetParam().scheme;
    state.caption = QStringLiteral("Invoice");
    state.target = QStringLiteral("Amount");
    state.typeTicked[static_cast<std::size_t>(codeOf(scheme))] = true;
    state.page = pageOf(scheme);
    state.autoNumber.entries.number = QStringLiteral("00001");

    const SaveOutcome outcome = saveEditorState(state, environment());
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"~100.ini");
    const QByteArray text = read(outcome.fileName);
    EXPECT_EQ(keysOf(text), CommonKeys + GetParam().schemeKeys + QStringList{"DB"});

    const ButtonFile file = ButtonFile::inFolder(m_ini, m_folder, outcome.fileName);
    EXPECT_EQ(file.read("Type"), QString::number(codeOf(scheme)));
    EXPECT_EQ(file.read("Target"), scheme == Scheme::Combo ? u"" : u"Amount");
    EXPECT_EQ(file.read("TargetID"), scheme == Scheme::Combo ? u"-1" : u"40");
    EXPECT_EQ(file.read("TargetDecimals"), scheme == Scheme::Combo ? u"-1" : u"2");
    EXPECT_EQ(file.read("_DB"), u"Sales.dbf");
    EXPECT_EQ(file.read("Scope0"), u"1");
    EXPECT_EQ(file.read("Over0"), u"1");
    EXPECT_EQ(file.read("AutoWarning0"), u"1");
    EXPECT_EQ(file.read("DB"), u"/data/Sales.dbf");
    EXPECT_EQ(file.read("Format"), QString(AutoNumberMarker::NumberPart));
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, EditorSaveNewButton,
    ::testing::Values(
        NewButtonCase{"AutoNumber",
                      Scheme::AutoNumber,
                      {"AutoFieldPos", "AutoTextPos", "AutoNumberPos", "AutoFieldValue", "AutoFieldValueID",
                       "AutoFieldValueType", "AutoTextValue", "AutoIniFile", "AutoSep", "AppendSep",
                       "UsedFields", "Truncate", "TruncateDigits", "AutoCaps"}},
        NewButtonCase{
            "Condition", Scheme::Condition,
            indexedKeys({"Cond", "Field", "FieldID", "FieldType", "Operator", "Condition", "Value"}, 20) +
                QStringList{"UsedFields"}},
        NewButtonCase{"AddSubtract", Scheme::AddSubtract,
                      indexedKeys({"CalcText", "CalcField", "CalcFieldID", "CalcFieldType", "CalcTextOption",
                                   "CalcFieldOption"},
                                  4) +
                          indexedKeys({"CalcOperator"}, 3) + QStringList{"Zero", "Invalid", "UsedFields"}},
        NewButtonCase{"MultiplyDivide", Scheme::MultiplyDivide,
                      indexedKeys({"CalcText", "CalcField", "CalcFieldID", "CalcFieldType", "CalcTextOption",
                                   "CalcFieldOption"},
                                  2) +
                          QStringList{"CalcOperator", "Invalid", "UsedFields"}},
        NewButtonCase{"Now",
                      Scheme::Now,
                      {"NowOperator", "NowDays", "NowFormatDate0", "NowFormatDate1", "NowFormatDate2"}},
        NewButtonCase{"Combo", Scheme::Combo, indexedKeys({"Button"}, 20)},
        NewButtonCase{"Age",
                      Scheme::Age,
                      {"DateField", "DateFieldID", "DateFieldType", "AgeFormat0", "AgeFormat1", "AgeFormat2",
                       "Invalid", "Blank"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorSave, TheCounterFileHoldsStartAt)
{
    EditorState state = newEditorState(sources());
    state.caption = QStringLiteral("Invoice");
    state.target = QStringLiteral("Phone");
    state.typeTicked[0] = true;
    state.autoNumber.entries.number = QStringLiteral("00001");
    ASSERT_TRUE(saveEditorState(state, environment()).written);
    EXPECT_EQ(readFile(m_counters + "AutoNumber_Invoice.num"), "00001\r\n");
    EXPECT_EQ(ButtonFile::inFolder(m_ini, m_folder, "~100.ini").read("AutoIniFile"),
              m_counters + "AutoNumber_Invoice.num");
}

TEST_F(EditorSave, AnExistingButtonSavedUnchangedKeepsItsKeys)
{
    const QString chosen = path("shared/Counter.num");
    QDir().mkpath(path("shared"));
    ASSERT_TRUE(writeFile(chosen, "0042\r\n"));
    ASSERT_TRUE(write("~100.ini", QStringList{"Name=Numbered",
                                              "Type=0",
                                              "Target=Phone",
                                              "TargetID=7",
                                              "TargetType=1",
                                              "Format=" + QString(AutoNumberMarker::FieldPart) + "|" +
                                                  QString(AutoNumberMarker::NumberPart),
                                              "TargetDecimals=-1",
                                              "_DB=",
                                              "Over0=0",
                                              "Over1=0",
                                              "Over2=1",
                                              "Over3=0",
                                              "AutoWarning0=0",
                                              "AutoWarning1=1",
                                              "AutoWarning2=0",
                                              "Scope0=0",
                                              "Scope1=1",
                                              "AppenSep=",
                                              "FontBold=1",
                                              "ForeColor=255",
                                              "AutoFieldPos=1",
                                              "AutoTextPos=0",
                                              "AutoNumberPos=1",
                                              "AutoFieldValue=Amount",
                                              "AutoFieldValueID=40",
                                              "AutoFieldValueType=5",
                                              "AutoTextValue=",
                                              "AutoIniFile=" + chosen,
                                              "AutoSep=-",
                                              "AppendSep=",
                                              "UsedFields=Phone|Amount",
                                              "Truncate=1",
                                              "TruncateDigits=12",
                                              "AutoCaps=1",
                                              "DB=/data/Sales.dbf"}));
    const QByteArray before = read("~100.ini");
    const EditorState state = loadEditorState(sources({"~100.ini"}), "~100.ini");
    EXPECT_EQ(state.autoNumber.entries.number, u"0042");
    EXPECT_TRUE(state.autoNumber.counterFileChosen);
    EXPECT_EQ(state.output().preview, u"[Amount]-0042");

    const SaveOutcome outcome = saveEditorState(state, environment("~100.ini"));
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"~100.ini");
    EXPECT_EQ(read("~100.ini"), before);
    EXPECT_EQ(readFile(chosen), "0042\r\n");
}

TEST_F(EditorSave, AConditionButtonSavedUnchangedKeepsItsKeys)
{
    QStringList lines{
        "Name=Ranked",       "Type=1",         "Target=Phone",
        "TargetID=7",        "TargetType=1",   "Format=" + QString(AutoNumberMarker::NumberPart),
        "TargetDecimals=-1", "_DB=Sales.dbf",  "Over0=1",
        "Over1=0",           "Over2=0",        "Over3=0",
        "AutoWarning0=1",    "AutoWarning1=0", "AutoWarning2=0",
        "Scope0=1",          "Scope1=0",       "AppenSep=",
        "FontBold=0",        "ForeColor=0"};
    QStringList used{"Phone"};
    for (int i = 0; i < 20; ++i) {
        const QString n = QString::number(i);
        const bool first = i == 0;
        lines << "Cond" + n + (first ? "=1" : "=0") << "Field" + n + (first ? "=Amount" : "=")
              << "FieldID" + n + (first ? "=40" : "=-1") << "FieldType" + n + (first ? "=5" : "=-1")
              << "Operator" + n + (first ? "=2" : "=-1") << "Condition" + n + (first ? "=100" : "=")
              << "Value" + n + (first ? "=big" : "=");
        used << (first ? "Amount" : "");
    }
    lines << "UsedFields=" + used.join('|') << "DB=/data/Sales.dbf";
    ASSERT_TRUE(write("~100.ini", lines));
    const QByteArray before = read("~100.ini");
    const EditorState state = loadEditorState(sources({"~100.ini"}), "~100.ini");
    ASSERT_TRUE(saveEditorState(state, environment("~100.ini")).written);
    EXPECT_EQ(read("~100.ini"), before);
}

TEST_F(EditorSave, ANewButtonIsNumberedAfterEveryButtonFile)
{
    EditorState state = newEditorState(sources());
    state.caption = QStringLiteral("Later");
    state.target = QStringLiteral("Phone");
    state.typeTicked[4] = true;
    state.page = EditorPage::Now;

    // Another database's button: the bar is empty, but the name is taken.
    ASSERT_TRUE(write("~100.ini", {"Name=Other", "_DB=Other.dbf"}));
    EXPECT_EQ(saveEditorState(state, environment("~100.ini")).fileName, u"~101.ini");
    // Past ~999.ini a listing in name order ends with a lower number.
    ASSERT_TRUE(write("~1000.ini", {"Name=Far"}));
    EXPECT_EQ(saveEditorState(state, environment("~101.ini")).fileName, u"~1001.ini");
}

TEST_F(EditorSave, TheButtonsOldSectionOfTheUserStoreGoes)
{
    // The upgrade names a button's section by its identifier and leaves it behind.
    ASSERT_TRUE(m_store.set(Application::Valdora, "~100", "Name", "Old"));
    ASSERT_TRUE(m_store.set(Application::Valdora, "~101", "Name", "Other"));
    ASSERT_TRUE(m_store.set(Application::Valdora, "Settings", "Version", "310"));
    EditorState state = newEditorState(sources());
    state.caption = QStringLiteral("Fresh");
    state.target = QStringLiteral("Phone");
    state.typeTicked[4] = true;
    state.page = EditorPage::Now;
    ASSERT_EQ(saveEditorState(state, environment()).fileName, u"~100.ini");
    EXPECT_FALSE(m_store.sections(Application::Valdora).contains("~100"));
    EXPECT_EQ(m_store.get(Application::Valdora, "~101", "Name"), u"Other");
    EXPECT_EQ(m_store.get(Application::Valdora, "Settings", "Version"), u"310");
}

TEST_F(EditorSave, ACounterFileThatCannotBeWrittenLeavesTheButtonAlone)
{
    ASSERT_TRUE(write("~100.ini", {"Name=Kept", "Type=4"}));
    const QByteArray before = read("~100.ini");
    EditorState state = loadEditorState(sources({"~100.ini"}), "~100.ini");
    state.typeTicked = {true};
    state.page = EditorPage::AutoNumber;
    state.target = QStringLiteral("Phone");
    state.autoNumber.entries.number = QStringLiteral("7");
    state.autoNumber.counterFile = path("no such folder/c.num");
    state.autoNumber.counterFileChosen = true;
    EXPECT_FALSE(saveEditorState(state, environment("~100.ini")).written);
    EXPECT_EQ(read("~100.ini"), before);
}

TEST_F(EditorSave, ANewButtonOpensWithTheEditorsDefaults)
{
    const EditorState state = newEditorState(sources());
    EXPECT_TRUE(state.newButton);
    EXPECT_EQ(state.caption, u"New");
    EXPECT_EQ(state.page, EditorPage::AutoNumber);
    EXPECT_EQ(state.chosenScheme(), Scheme::Missing);
    EXPECT_EQ(state.scope, 0);
    EXPECT_EQ(state.overwrite, OverwriteMode::NeverOverwrite);
    EXPECT_EQ(state.autoWarning, 0);
    EXPECT_EQ(state.now.format, 1);
    EXPECT_TRUE(state.autoNumber.counterFile.isEmpty());
}

TEST_F(EditorSave, AComboButtonOpensOnItsPageWithoutTargetAndOffersNoComboButtons)
{
    ASSERT_TRUE(write("~100.ini", {"Name=Plain", "Type=4"}));
    ASSERT_TRUE(
        write("~101.ini", {"Name=Group", "Type=5", "Target=Phone", "Button0=1", "ButtonName0=~100.ini"}));
    ASSERT_TRUE(write("~102.ini", {"Name=NoType"}));
    const EditorState state = loadEditorState(sources({"~100.ini", "~101.ini", "~102.ini"}), "~101.ini");
    EXPECT_EQ(state.page, EditorPage::Combo);
    EXPECT_TRUE(state.typeTicked[5]);
    EXPECT_TRUE(state.target.isEmpty());
    EXPECT_EQ(state.comboMembers, (QList<ComboMember>{{"~100.ini", "Plain"}}));
    EXPECT_EQ(state.combo.members[0].buttonFileName, u"~100.ini");
}

TEST_F(EditorSave, AnAgeButtonOpensOnPageFive)
{
    ASSERT_TRUE(write("~100.ini", {"Name=Years", "Type=6", "Target=Phone", "DateField=Birth"}));
    const EditorState state = loadEditorState(sources({"~100.ini"}), "~100.ini");
    EXPECT_EQ(state.page, EditorPage::Age);
    EXPECT_TRUE(state.typeTicked[6]);
    EXPECT_EQ(state.target, u"Phone");
    EXPECT_EQ(state.age.dateField.name, u"Birth");
}

} // namespace
} // namespace valdora::editor::test
