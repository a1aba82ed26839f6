// The real editor offscreen, against a running headless host: a new button of each scheme made in
// the widgets and saved, an existing button kept as it is, every refusal of the save with its message,
// page and focus, the AutoNumber positions, the counter-file buttons, the key rules and the launch of
// Keelbrook.
#include "EditorTestDoubles.h"

#include "editor/windows/EditorTexts.h"
#include "editor/windows/SettingsCaptions.h"
#include "editor/windows/SettingsWindow.h"
#include "editor/windows/WindowEditorScreens.h"

#include "core/testsupport/QtPrinters.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "settings/ButtonFile.h"
#include "settings/Cp1252.h"
#include "settings/SchemeTable.h"
#include "settings/SettingsLocation.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace valdora::editor::test {
namespace {

using Pairs = QList<QPair<QString, QString>>;

/// The keys of a file and their values, in the order the file holds them.
Pairs keysInOrder(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Pairs pairs;
    for (QByteArray line : file.readAll().split('\n')) {
        while (line.endsWith('\r'))
            line.chop(1);
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            pairs.append({Cp1252::decode(line.left(equals)), Cp1252::decode(line.mid(equals + 1))});
    }
    return pairs;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Pairs indexed(int count, const std::function<Pairs(int)>& row)
{
    Pairs pairs;
    for (int i = 0; i < count; ++i)
        pairs += row(i);
    return pairs;
}

QString n(int i)
{
    return QString::number(i);
}

class SettingsWindowTest : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        m_db = host::createDatabase();
        m_db->OpenEx(m_database);
        m_host = std::make_unique<TestEditorHost>(m_db.get());
    }

    void TearDown() override
    {
        m_window.reset();
        m_db.reset();
        ProgramOnHostTest::TearDown();
    }

    SettingsWindow& open(const QString& fileName = {})
    {
        m_window.reset();
        m_window = std::make_unique<SettingsWindow>(*m_session, *m_host, m_screens, fileName);
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()))
            << "the window did not become active within the wait";
        return *m_window;
    }

public:
    template <class Widget> Widget* findChildOf(const QString& name) const { return child<Widget>(name); }
    using ProgramOnHostTest::writeButton;
    ScriptedPlatform& platform() { return m_platform; }

protected:
    template <class Widget = QWidget> Widget* child(const QString& name) const
    {
        auto* widget = m_window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    void type(const QString& box, const QString& text)
    {
        QLineEdit* edit = child<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    void choose(const QString& list, const QString& entry)
    {
        QComboBox* box = child<QComboBox>(list);
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << list.toStdString() << " " << entry.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void tick(const QString& name, bool on = true)
    {
        auto* button = child<QAbstractButton>(name);
        if (button->isChecked() != on)
            button->click();
    }

    void page(EditorPage page) { child<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(int(page)); }

    /// A new button of this scheme on its page, captioned and aimed at `target`.
    void startNew(EditorPage onPage, int code, const QString& target = QStringLiteral("Notes"))
    {
        open();
        type(QStringLiteral("txtButtonName"), QStringLiteral("Invoice"));
        page(onPage);
        tick(QStringLiteral("chkType_%1").arg(code));
        if (onPage != EditorPage::Combo)
            choose(QStringLiteral("cmbTarget"), target);
    }

    QString buttonPath(const QString& name) const { return m_session->buttonFolder() + name; }
    QString databaseName() const { return QFileInfo(m_database).fileName(); }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    /// The keys every button starts with, for a new button aimed at Notes (character, id 20).
    Pairs commonKeys(int code, const QString& format, bool targeted = true) const
    {
        return {{"Name", "Invoice"},
                {"Type", n(code)},
                {"Target", targeted ? "Notes" : ""},
                {"TargetID", targeted ? "20" : "-1"},
                {"TargetType", targeted ? "1" : "-1"},
                {"Format", format},
                {"TargetDecimals", "-1"},
                {"_DB", databaseName()},
                {"Over0", "1"},
                {"Over1", "0"},
                {"Over2", "0"},
                {"Over3", "0"},
                {"AutoWarning0", "1"},
                {"AutoWarning1", "0"},
                {"AutoWarning2", "0"},
                {"Scope0", "1"},
                {"Scope1", "0"},
                {"AppenSep", ""},
                {"FontBold", "0"},
                {"ForeColor", "0"}};
    }

    ScriptedEditorScreens m_screens;
    std::unique_ptr<host::Database> m_db;
    std::unique_ptr<TestEditorHost> m_host;
    std::unique_ptr<SettingsWindow> m_window;
};

const QString NumberOnly = QString(AutoNumberMarker::NumberPart);

TEST_F(SettingsWindowTest, ANewButtonOpensWithTheEditorsDefaults)
{
    SettingsWindow& window = open();
    EXPECT_EQ(window.objectName(), u"frmSettings");
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(child<QLineEdit>("txtButtonName")->text(), u"New");
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), u"Add Button");
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_TRUE(child<QRadioButton>("optScope_0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optOver_0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optAutoWarning_0")->isChecked());
    EXPECT_FALSE(child<QPushButton>("cmdAutoNumber")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdSave")->isEnabled());

    // The caption "New" is selected whole when the box gets the focus.
    child<QLineEdit>("txtButtonName")->setFocus();
    QTRY_COMPARE(child<QLineEdit>("txtButtonName")->selectedText(), QStringLiteral("New"));
    // The target list never offers the ids the host keeps for itself.
    const QComboBox* target = child<QComboBox>("cmbTarget");
    EXPECT_EQ(target->findText("Unique Id"), -1);
    EXPECT_GE(target->findText("Notes"), 0);
    EXPECT_EQ(child<QComboBox>("cmbPosition_0")->count(), 4);
    EXPECT_EQ(child<QComboBox>("cmbPosition_2")->count(), 3);
    EXPECT_EQ(child<QComboBox>("cmbOperator_0")->itemText(6), u"Incl.");
}

struct NewSchemeCase {
    const char* name;
    EditorPage page;
    int code;
    std::function<void(SettingsWindowTest&)> fill;
    QString format;
    std::function<Pairs(const QString& counterFolder)> schemeKeys;
};

void PrintTo(const NewSchemeCase& c, std::ostream* out)
{
    *out << c.name;
}

class NewSchemeTest : public SettingsWindowTest, public ::testing::WithParamInterface<NewSchemeCase> {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        // A button on the bar that a Combo button can take as a member.
        writeButton(QStringLiteral("~99.ini"), {{"Name", "Plain"}, {"Type", "4"}});
        m_host->files = {QStringLiteral("~99.ini")};
    }

public:
    using SettingsWindowTest::choose;
    using SettingsWindowTest::tick;
    using SettingsWindowTest::type;
};

Pairs emptyCondition(int i)
{
    return {{"Cond" + n(i), "0"},       {"Field" + n(i), ""},      {"FieldID" + n(i), "-1"},
            {"FieldType" + n(i), "-1"}, {"Operator" + n(i), "-1"}, {"Condition" + n(i), ""},
            {"Value" + n(i), ""}};
}

Pairs operandKeys(int i, const QString& constant, bool isConstant)
{
    return {{"CalcText" + n(i), constant},
            {"CalcField" + n(i), ""},
            {"CalcFieldID" + n(i), "-1"},
            {"CalcFieldType" + n(i), "-1"},
            {"CalcTextOption" + n(i), isConstant ? "1" : "0"},
            {"CalcFieldOption" + n(i), isConstant ? "0" : "1"}};
}

TEST_P(NewSchemeTest, IsSavedKeyByKeyInOrder)
{
    const NewSchemeCase& c = GetParam();
    startNew(c.page, c.code);
    c.fill(*this);
    ASSERT_TRUE(m_window->cmdOK_Click()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_FALSE(m_window->isVisible());
    ASSERT_EQ(m_host->saved.size(), 1);
    EXPECT_EQ(m_host->saved[0], qMakePair(QStringLiteral("~100.ini"), true));

    const QString counterFolder = SettingsLocation::defaultCounterFolder(m_program);
    const Pairs expected = commonKeys(c.code, c.format, c.page != EditorPage::Combo) +
                           c.schemeKeys(counterFolder) + Pairs{{"DB", m_database}};
    const Pairs actual = keysInOrder(buttonPath("~100.ini"));
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "key " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, NewSchemeTest,
    ::testing::Values(
        NewSchemeCase{"AutoNumber", EditorPage::AutoNumber, 0,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          // The field part at 1 pushes the number part to 2.
                          test.choose("cmbPosition_0", "1");
                          test.choose("cmbField", "Company");
                          test.type("txtNumber", "0001");
                          test.type("txtSeparator", "-");
                      },
                      QString(AutoNumberMarker::FieldPart) + u'|' + AutoNumberMarker::NumberPart,
                      [](const QString& counters) {
                          return Pairs{{"AutoFieldPos", "1"},
                                       {"AutoTextPos", "0"},
                                       {"AutoNumberPos", "1"},
                                       {"AutoFieldValue", "Company"},
                                       {"AutoFieldValueID", "25"},
                                       {"AutoFieldValueType", "1"},
                                       {"AutoTextValue", ""},
                                       {"AutoIniFile", counters + "AutoNumber_Invoice.num"},
                                       {"AutoSep", "-"},
                                       {"AppendSep", ""},
                                       {"UsedFields", "Notes|Company"},
                                       {"Truncate", "0"},
                                       {"TruncateDigits", "254"},
                                       {"AutoCaps", "0"}};
                      }},
        NewSchemeCase{"Condition", EditorPage::Condition, 1,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.tick("chkCond_1");
                          test.choose("cmbFieldTab1_1", "City");
                          test.choose("cmbOperator_1", "Starts");
                          test.type("txtCondition_1", "Par");
                          test.type("txtValueTab1_1", "France");
                      },
                      NumberOnly,
                      [](const QString&) {
                          Pairs keys = indexed(20, [](int i) {
                              if (i != 1)
                                  return emptyCondition(i);
                              return Pairs{{"Cond1", "1"},      {"Field1", "City"}, {"FieldID1", "11"},
                                           {"FieldType1", "1"}, {"Operator1", "7"}, {"Condition1", "Par"},
                                           {"Value1", "France"}};
                          });
                          QStringList used{"Notes"};
                          for (int i = 0; i < 20; ++i)
                              used << (i == 1 ? "City" : "");
                          return keys + Pairs{{"UsedFields", used.join('|')}};
                      }},
        NewSchemeCase{"AddSubtract", EditorPage::AddSubtract, 2,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.type("txtCalcTab2_0", "5");
                          test.choose("cmbOperatorTab2_0", " -");
                          test.choose("cmbFieldTab2_1", "Amount");
                          test.tick("chkZero");
                          test.type("txtInvalidAdd", "?");
                      },
                      NumberOnly,
                      [](const QString&) {
                          Pairs operands = operandKeys(0, "5", true);
                          operands += Pairs{{"CalcText1", ""},        {"CalcField1", "Amount"},
                                            {"CalcFieldID1", "16"},   {"CalcFieldType1", "5"},
                                            {"CalcTextOption1", "0"}, {"CalcFieldOption1", "1"}};
                          operands += operandKeys(2, "", false) + operandKeys(3, "", false);
                          return operands + Pairs{{"CalcOperator0", "1"}, {"CalcOperator1", "0"},
                                                  {"CalcOperator2", "0"}, {"Zero", "1"},
                                                  {"Invalid", "?"},       {"UsedFields", "Notes||Amount||"}};
                      }},
        NewSchemeCase{"MultiplyDivide", EditorPage::MultiplyDivide, 3,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.type("txtCalcTab3_0", "3");
                          test.type("txtCalcTab3_1", "4");
                          test.choose("cmbOperatorTab3", " /");
                      },
                      NumberOnly,
                      [](const QString&) {
                          return operandKeys(0, "3", true) + operandKeys(1, "4", true) +
                                 Pairs{{"CalcOperator", "1"}, {"Invalid", ""}, {"UsedFields", "Notes||"}};
                      }},
        NewSchemeCase{"Now", EditorPage::Now, 4,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.choose("cmbOperatorTab4", "minus");
                          test.type("txtDays", "7");
                          test.tick("optFormat_0");
                      },
                      NumberOnly,
                      [](const QString&) {
                          return Pairs{{"NowOperator", "1"},
                                       {"NowDays", "7"},
                                       {"NowFormatDate0", "1"},
                                       {"NowFormatDate1", "0"},
                                       {"NowFormatDate2", "0"}};
                      }},
        NewSchemeCase{"Combo", EditorPage::Combo, 5,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.tick("chkButton_0");
                          test.choose("cmbButton_0", "Plain");
                      },
                      NumberOnly,
                      [](const QString&) {
                          return indexed(20, [](int i) {
                              Pairs row{{"Button" + n(i), i == 0 ? "1" : "0"}};
                              if (i == 0)
                                  row.append(
                                      qMakePair(QStringLiteral("ButtonName0"), QStringLiteral("~99.ini")));
                              return row;
                          });
                      }},
        NewSchemeCase{"Age", EditorPage::Age, 6,
                      [](SettingsWindowTest& t) {
                          auto& test = static_cast<NewSchemeTest&>(t);
                          test.choose("cmbFieldTab5", "Birth Date");
                          test.tick("optAge_2");
                          test.type("txtInvalidAge", "n/a");
                          test.type("txtBlankAge", "-");
                      },
                      NumberOnly,
                      [](const QString&) {
                          return Pairs{{"DateField", "Birth Date"}, {"DateFieldID", "13"},
                                       {"DateFieldType", "8"},      {"AgeFormat0", "0"},
                                       {"AgeFormat1", "0"},         {"AgeFormat2", "1"},
                                       {"Invalid", "n/a"},          {"Blank", "-"}};
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsWindowTest, AnExistingButtonSavedUnchangedKeepsItsFile)
{
    // Made in the editor first, so the file holds every key the editor writes.
    startNew(EditorPage::Condition, 1);
    tick("chkCond_0");
    choose("cmbFieldTab1_0", "City");
    choose("cmbOperator_0", " =");
    type("txtCondition_0", "Paris");
    type("txtValueTab1_0", "FR");
    ASSERT_TRUE(m_window->cmdOK_Click()) << m_platform.messageTexts().join(" | ").toStdString();
    const QByteArray before = bytesOf(buttonPath("~100.ini"));
    ASSERT_FALSE(before.isEmpty());

    m_host->files = {QStringLiteral("~100.ini")};
    m_host->last = QStringLiteral("~100.ini");
    SettingsWindow& window = open(QStringLiteral("~100.ini"));
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), u"Apply");
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 1);
    EXPECT_TRUE(child<QCheckBox>("chkType_1")->isChecked());
    ASSERT_TRUE(window.cmdOK_Click()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(bytesOf(buttonPath("~100.ini")), before);
    EXPECT_EQ(m_host->saved.last(), qMakePair(QStringLiteral("~100.ini"), false));
    EXPECT_FALSE(QFileInfo::exists(buttonPath("~101.ini")));
}

TEST_F(SettingsWindowTest, TheFirstButtonOfAnEmptyFolderIsNumberedOneHundred)
{
    startNew(EditorPage::Now, 4);
    ASSERT_TRUE(m_window->cmdOK_Click());
    EXPECT_TRUE(QFileInfo::exists(buttonPath("~100.ini")));

    // The bar is empty for this database, but another database's ~100.ini is there.
    m_host->last = QStringLiteral("~100.ini");
    open();
    type(QStringLiteral("txtButtonName"), QStringLiteral("Second"));
    page(EditorPage::Now);
    tick(QStringLiteral("chkType_4"));
    choose(QStringLiteral("cmbTarget"), QStringLiteral("Notes"));
    ASSERT_TRUE(m_window->cmdOK_Click());
    EXPECT_EQ(m_host->saved.last(), qMakePair(QStringLiteral("~101.ini"), true));
}

struct RefusalCase {
    RefusalCase(const char* name, EditorPage page, int code, QString target,
                std::function<void(SettingsWindowTest&)> change, QString message, QString focus = {},
                std::optional<int> shown = std::nullopt, QString dialogFocus = {})
        : name(name), page(page), code(code), target(std::move(target)), change(std::move(change)),
          message(std::move(message)), focus(std::move(focus)), shown(shown),
          dialogFocus(std::move(dialogFocus))
    {}

    const char* name;
    EditorPage page;
    int code;
    QString target;
    std::function<void(SettingsWindowTest&)> change;
    QString message;
    QString focus;            ///< the focused control's object name; empty: not checked
    std::optional<int> shown; ///< the page on screen afterwards
    QString dialogFocus;      ///< the "More..." dialog opened, with the control it focuses
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.name;
}

class RefusalTest : public SettingsWindowTest, public ::testing::WithParamInterface<RefusalCase> {
public:
    using SettingsWindowTest::choose;
    using SettingsWindowTest::page;
    using SettingsWindowTest::tick;
    using SettingsWindowTest::type;
    ScriptedEditorScreens& screens() { return m_screens; }
    TestEditorHost& host() { return *m_host; }
};

const QString NumericType =
    QStringLiteral("The target field type (numeric) is incompatible with your settings.\r\n");
const QString DateType =
    QStringLiteral("The target field type (date) is incompatible with your settings.\r\n");

TEST_P(RefusalTest, ShowsItsMessageBringsItsPageAndFocusesItsControl)
{
    const RefusalCase& c = GetParam();
    startNew(c.page, c.code, c.target);
    c.change(*this);
    EditorState before = m_window->state();

    EXPECT_FALSE(m_window->cmdOK_Click());
    ASSERT_FALSE(m_platform.messages().isEmpty());
    EXPECT_EQ(m_platform.messages().last().text, c.message);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(m_window->saved());
    EXPECT_TRUE(m_host->saved.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(buttonPath("~100.ini")));
    if (c.shown) {
        EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), *c.shown);
    }
    if (!c.focus.isEmpty()) {
        EXPECT_EQ(focused(), c.focus);
    }
    if (!c.dialogFocus.isEmpty()) {
        const QStringList shown = m_screens.moreConditionsShown + m_screens.moreMembersShown;
        EXPECT_EQ(shown, QStringList{c.dialogFocus});
    }
    // Every entry stays as the user left it; only the page may have been brought on screen.
    EditorState after = m_window->state();
    after.page = before.page;
    EXPECT_TRUE(after == before);
}

RefusalTest& as(SettingsWindowTest& t)
{
    return static_cast<RefusalTest&>(t);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusalTest,
    ::testing::Values(
        RefusalCase{"NoScheme", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) { as(t).tick("chkType_4", false); },
                    "You need to select a scheme!"},
        RefusalCase{
            "SchemeOffPageAnsweredNo", EditorPage::Now, 4, "Notes",
            [](SettingsWindowTest& t) {
                as(t).page(EditorPage::AutoNumber);
                as(t).platform().answerNextMessage(MessageAnswer::No);
            },
            "The scheme you have selected is not the one currently on screen!\r\nDo you want to proceed "
            "anyway?"},
        RefusalCase{"EmptyCaption", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) { as(t).type("txtButtonName", ""); },
                    "You need to enter a caption for the button!", "txtButtonName"},
        RefusalCase{"CaptionNew", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) { as(t).type("txtButtonName", "New"); },
                    "You need to enter a caption for the button!", "txtButtonName"},
        RefusalCase{"CaptionTaken", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) {
                        as(t).writeButton("~99.ini", {{"Name", "Taken"}});
                        as(t).host().files = {"~99.ini"};
                        as(t).type("txtButtonName", "Taken");
                    },
                    "A button with this name already exists!\r\nPlease choose another name for this button.",
                    "txtButtonName"},
        RefusalCase{"NoTarget", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) {
                        QComboBox* target = t.findChildOf<QComboBox>("cmbTarget");
                        target->setCurrentIndex(-1);
                    },
                    "You need to select a Target Field!", "cmbTarget"},
        RefusalCase{"StartAtEmpty", EditorPage::AutoNumber, 0, "Notes",
                    [](SettingsWindowTest& t) {
                        as(t).type("txtNumber", "");
                        as(t).page(EditorPage::Now);
                        as(t).platform().answerNextMessage(MessageAnswer::Yes);
                    },
                    "You cannot leave the Start At box empty!", "txtNumber", 0},
        RefusalCase{"ConditionWithoutOperator", EditorPage::Condition, 1, "Notes",
                    [](SettingsWindowTest& t) { as(t).tick("chkCond_2"); },
                    "You checked condition 3 but no operator is selected for this condition!"},
        RefusalCase{"NoConditionTicked", EditorPage::Condition, 1, "Notes", [](SettingsWindowTest&) {},
                    "You have to check at least one condition for this scheme to work!"},
        RefusalCase{"NoMemberTicked", EditorPage::Combo, 5, "", [](SettingsWindowTest&) {},
                    "You have to check at least one button for this scheme to work!"},
        RefusalCase{"MemberWithoutButton", EditorPage::Combo, 5, "",
                    [](SettingsWindowTest& t) { as(t).tick("chkButton_1"); },
                    "You have checked item # 1 but no button is selected!"},
        RefusalCase{"AppendSeparatorIntoNumber", EditorPage::Now, 4, "Amount",
                    [](SettingsWindowTest& t) {
                        as(t).tick("optOver_1");
                        as(t).type("txtAppendSep", "x");
                    },
                    NumericType + "The target field cannot accept the Append Separator you chose.",
                    "txtAppendSep"},
        RefusalCase{"AutoNumberTextIntoNumber", EditorPage::AutoNumber, 0, "Amount",
                    [](SettingsWindowTest& t) {
                        as(t).choose("cmbPosition_1", "1");
                        as(t).type("txtText", "abc");
                        as(t).type("txtNumber", "1");
                        as(t).page(EditorPage::Now);
                        as(t).platform().answerNextMessage(MessageAnswer::Yes);
                    },
                    NumericType + "The Target Field cannot accept the Text value you chose.", "txtText", 0},
        RefusalCase{"ConditionValueIntoNumber", EditorPage::Condition, 1, "Amount",
                    [](SettingsWindowTest& t) {
                        as(t).tick("chkCond_1");
                        as(t).choose("cmbOperator_1", " =");
                        as(t).type("txtValueTab1_1", "abc");
                    },
                    NumericType + "Problem caused by value # 2", "txtValueTab1_1", 1},
        RefusalCase{"ConditionInTheDialogIntoNumber", EditorPage::Condition, 1, "Amount",
                    [](SettingsWindowTest& t) {
                        as(t).screens().conditionsEdit = [](EditorState& state) {
                            state.condition.rows[6] = {true, {}, 0, "a", "abc"};
                        };
                        as(t).findChildOf<QPushButton>("cmdMoreCond")->click();
                        as(t).screens().conditionsEdit = nullptr;
                        as(t).screens().moreConditionsShown.clear();
                    },
                    NumericType + "Problem caused by value # 7", "", std::nullopt, "txtValueTab16"},
        RefusalCase{"ConstantIntoNumber", EditorPage::AddSubtract, 2, "Amount",
                    [](SettingsWindowTest& t) { as(t).type("txtCalcTab2_0", "abc"); },
                    NumericType + "Problem caused by value # 1", "txtCalcTab2_0", 2},
        RefusalCase{"InvalidValueIntoNumber", EditorPage::MultiplyDivide, 3, "Amount",
                    [](SettingsWindowTest& t) {
                        as(t).type("txtCalcTab3_0", "3");
                        as(t).type("txtCalcTab3_1", "4");
                        as(t).type("txtInvalid", "none");
                    },
                    NumericType + "The Target Field cannot accept the Invalid value.", "txtInvalid", 3},
        RefusalCase{"NowIntoNumber", EditorPage::Now, 4, "Amount", [](SettingsWindowTest&) {},
                    NumericType + "The Target Field cannot accept a date."},
        RefusalCase{"AutoNumberIntoDate", EditorPage::AutoNumber, 0, "Birth Date",
                    [](SettingsWindowTest& t) { as(t).type("txtNumber", "1"); },
                    DateType + "You can't put an AutoNumber in a date field."},
        RefusalCase{"DaysNotANumber", EditorPage::Now, 4, "Notes",
                    [](SettingsWindowTest& t) { as(t).type("txtDays", "7x"); },
                    "The number of days must be a whole number from -32768 to 32767.", "txtDays", 4},
        RefusalCase{"StartAtWithASign", EditorPage::AutoNumber, 0, "Notes",
                    // As a counter file or a paste puts it there: the box's key rules see no typing.
                    [](SettingsWindowTest& t) { t.findChildOf<QLineEdit>("txtNumber")->setText("-1"); },
                    "The Start At box must hold a whole number of 0 or more, in digits only.", "txtNumber",
                    0},
        RefusalCase{"MultiplyConstantNotANumber", EditorPage::MultiplyDivide, 3, "Notes",
                    [](SettingsWindowTest& t) {
                        as(t).type("txtCalcTab3_0", "7x");
                        as(t).type("txtCalcTab3_1", "4");
                    },
                    "Value #1 must be a number: a multiplication or division of anything else always gives "
                    "the invalid value.",
                    "txtCalcTab3_0", 3},
        RefusalCase{"UrlTargetAnsweredNo", EditorPage::Now, 4, "Web Site",
                    [](SettingsWindowTest& t) { as(t).platform().answerNextMessage(MessageAnswer::No); },
                    "The Target Field is a URL Type Field. Are you sure you want to continue?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsWindowTest, AQuestionAnsweredYesGoesOnToTheSave)
{
    startNew(EditorPage::Now, 4, QStringLiteral("Web Site"));
    page(EditorPage::AutoNumber);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    ASSERT_TRUE(m_window->cmdOK_Click());
    EXPECT_EQ(m_platform.messages().size(), 2);
    EXPECT_EQ(ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~100.ini").read("Type"),
              u"4");
}

struct ClashCase {
    const char* name;
    AutoNumberPositions start; ///< field, text, number
    int changedRow;            ///< 0 field, 1 text, 2 number
    int position;
    AutoNumberPositions expected;
};

void PrintTo(const ClashCase& c, std::ostream* out)
{
    *out << c.name;
}

class ClashTest : public SettingsWindowTest, public ::testing::WithParamInterface<ClashCase> {};

TEST_P(ClashTest, MovesThePartsWhenTheBoxLosesTheFocus)
{
    const ClashCase& c = GetParam();
    open();
    const std::array boxes{child<QComboBox>("cmbPosition_0"), child<QComboBox>("cmbPosition_1"),
                           child<QComboBox>("cmbPosition_2")};
    boxes[0]->setCurrentIndex(c.start.field);
    boxes[1]->setCurrentIndex(c.start.text);
    boxes[2]->setCurrentIndex(c.start.number - 1);
    QComboBox* changed = boxes[static_cast<std::size_t>(c.changedRow)];
    changed->setFocus();
    QTRY_VERIFY(changed->hasFocus());
    changed->setCurrentIndex(c.changedRow == 2 ? c.position - 1 : c.position);
    child<QLineEdit>("txtSeparator")->setFocus();
    QTRY_VERIFY(!changed->hasFocus());
    EXPECT_EQ(boxes[0]->currentText().toInt(), c.expected.field);
    EXPECT_EQ(boxes[1]->currentText().toInt(), c.expected.text);
    EXPECT_EQ(boxes[2]->currentText().toInt(), c.expected.number);
}

INSTANTIATE_TEST_SUITE_P(Rows, ClashTest,
                         ::testing::Values(ClashCase{"NumberToThreeTextAtOne", {3, 1, 1}, 2, 3, {2, 1, 3}},
                                           ClashCase{"NumberToThreeTextAtTwo", {3, 2, 1}, 2, 3, {2, 1, 3}},
                                           ClashCase{"NumberToTwoTextUnused", {2, 0, 1}, 2, 2, {1, 0, 2}},
                                           ClashCase{"NumberToThreeTextUnused", {3, 0, 1}, 2, 3, {1, 0, 2}},
                                           ClashCase{"FieldToOneTextUnused", {0, 0, 1}, 0, 1, {1, 0, 2}},
                                           ClashCase{"NoClashMovesNothing", {1, 0, 2}, 1, 3, {1, 3, 2}},
                                           ClashCase{"AllThreeAtOneMoveNothing", {1, 0, 1}, 1, 1, {1, 1, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The caption an object shows: a group box's title, or a button's, label's or menu item's text.
QString captionOf(const QObject& object)
{
    if (const auto* box = qobject_cast<const QGroupBox*>(&object))
        return box->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&object))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&object))
        return label->text();
    if (const auto* action = qobject_cast<const QAction*>(&object))
        return action->text();
    return QStringLiteral("<no caption on a %1>").arg(QLatin1String(object.metaObject()->className()));
}

TEST_F(SettingsWindowTest, EveryCaptionRowShowsItsTextOnItsObject)
{
    open();
    for (const CaptionRow& row : settingsCaptionRows()) {
        const QString name = QLatin1String(row.objectName);
        const QObject* object = m_window->findChild<QObject*>(name);
        ASSERT_NE(object, nullptr) << "no object " << name.toStdString();
        EXPECT_EQ(captionOf(*object), captionText(row, m_session->messages())) << name.toStdString();
    }
    // A caption before a box ends with " :"; a menu keeps its text as the table gives it.
    EXPECT_EQ(child<QGroupBox>(QStringLiteral("Frame1"))->title(),
              m_session->messages().get(MessageId::TargetField) + QStringLiteral(" :"));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("cmdSave"))->text(),
              m_session->messages().get(OwnText::EditorSaveElsewhere));
}

// Each scheme of the table is a page of the form's tab control holding the scheme's box, under the
// scheme's caption.
TEST_F(SettingsWindowTest, EverySchemeHasItsPageBoxAndCaption)
{
    open();
    auto* tabs = child<QTabWidget>(QStringLiteral("SSTab1"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), SchemeCount);
    for (const SchemeRow& row : SchemeTable) {
        const qint16 code = codeOf(row.scheme);
        SCOPED_TRACE(code);
        QWidget* page = tabs->widget(row.editorPage);
        ASSERT_NE(page, nullptr);
        EXPECT_NE(page->findChild<QCheckBox*>(QStringLiteral("chkType_%1").arg(code)), nullptr)
            << "the page holds the box of its scheme";
        EXPECT_EQ(tabs->tabText(row.editorPage), m_session->messages().get(row.caption));
        EXPECT_EQ(pageOf(row.scheme), static_cast<EditorPage>(row.editorPage));
    }
}

TEST_F(SettingsWindowTest, ThePreviewFollowsTheEntries)
{
    open();
    choose(QStringLiteral("cmbPosition_0"), QStringLiteral("1"));
    choose(QStringLiteral("cmbField"), QStringLiteral("Company"));
    type(QStringLiteral("txtNumber"), QStringLiteral("0001"));
    type(QStringLiteral("txtSeparator"), QStringLiteral("/"));
    EXPECT_EQ(child<QLabel>("lblOutput")->text(), u"[Company]/0001");
    EXPECT_EQ(m_window->state().output().pattern,
              QString(AutoNumberMarker::FieldPart) + u'|' + AutoNumberMarker::NumberPart);
}

TEST_F(SettingsWindowTest, TheKeyRulesOfTheCaptionAndStartAtBoxes)
{
    open();
    QLineEdit* caption = child<QLineEdit>("txtButtonName");
    type(QStringLiteral("txtButtonName"), QStringLiteral("ABCDEFGHIJKLMN"));
    EXPECT_EQ(caption->text(), u"ABCDEFGHIJ");
    // Leaving the box with a caption enables the counter-file buttons.
    child<QLineEdit>("txtText")->setFocus();
    QTRY_VERIFY(child<QPushButton>("cmdAutoNumber")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdSave")->isEnabled());

    type(QStringLiteral("txtNumber"), QStringLiteral("0a1-2"));
    EXPECT_EQ(child<QLineEdit>("txtNumber")->text(), u"012");
    QTest::keyClick(child<QLineEdit>("txtNumber"), Qt::Key_Backspace);
    EXPECT_EQ(child<QLineEdit>("txtNumber")->text(), u"01");
}

TEST_F(SettingsWindowTest, ALongerCaptionFromTheFileIsKept)
{
    writeButton(QStringLiteral("~100.ini"), {{"Name", "Twelve chars"}, {"Type", "4"}, {"Target", "Notes"}});
    m_host->files = {QStringLiteral("~100.ini")};
    open(QStringLiteral("~100.ini"));
    EXPECT_EQ(child<QLineEdit>("txtButtonName")->text(), u"Twelve chars");
    QTest::keyClick(child<QLineEdit>("txtButtonName"), Qt::Key_End);
    QTest::keyClick(child<QLineEdit>("txtButtonName"), Qt::Key_X);
    EXPECT_EQ(child<QLineEdit>("txtButtonName")->text(), u"Twelve chars");
    QTest::keyClick(child<QLineEdit>("txtButtonName"), Qt::Key_Backspace);
    EXPECT_EQ(child<QLineEdit>("txtButtonName")->text(), u"Twelve char");
}

TEST_F(SettingsWindowTest, OneSchemeIsTickedAtATimeAndTheComboPageTurnsTheTargetOff)
{
    startNew(EditorPage::Now, 4);
    tick(QStringLiteral("chkType_1"));
    for (int code = 0; code < 7; ++code)
        EXPECT_EQ(child<QCheckBox>(QStringLiteral("chkType_%1").arg(code))->isChecked(), code == 1) << code;

    page(EditorPage::Combo);
    EXPECT_FALSE(child<QComboBox>("cmbTarget")->isEnabled());
    EXPECT_EQ(child<QComboBox>("cmbTarget")->currentIndex(), -1);
    EXPECT_FALSE(child<QRadioButton>("optOver_2")->isEnabled());
    page(EditorPage::Age);
    EXPECT_TRUE(child<QComboBox>("cmbTarget")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("optOver_2")->isEnabled());
}

TEST_F(SettingsWindowTest, AnOperandTakesTheSourceTheUserWorksOn)
{
    open();
    page(EditorPage::AddSubtract);
    EXPECT_TRUE(child<QRadioButton>("optCalcFieldTab2_2")->isChecked());
    type(QStringLiteral("txtCalcTab2_2"), QStringLiteral("5"));
    EXPECT_TRUE(child<QRadioButton>("optCalcTextTab2_2")->isChecked());
    choose(QStringLiteral("cmbFieldTab2_2"), QStringLiteral("Amount"));
    EXPECT_TRUE(child<QRadioButton>("optCalcFieldTab2_2")->isChecked());
}

TEST_F(SettingsWindowTest, ABoxOfAnAgeOrComboButtonOpensOnItsPage)
{
    writeButton(QStringLiteral("~100.ini"), {{"Name", "Years"}, {"Type", "6"}, {"Target", "Notes"}});
    writeButton(QStringLiteral("~101.ini"),
                {{"Name", "Group"}, {"Type", "5"}, {"Button0", "1"}, {"ButtonName0", "~100.ini"}});
    m_host->files = {QStringLiteral("~100.ini"), QStringLiteral("~101.ini")};
    open(QStringLiteral("~100.ini"));
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 5);
    EXPECT_TRUE(child<QCheckBox>("chkType_6")->isChecked());
    open(QStringLiteral("~101.ini"));
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 6);
    EXPECT_TRUE(child<QCheckBox>("chkType_5")->isChecked());
    EXPECT_FALSE(child<QComboBox>("cmbTarget")->isEnabled());
    // A Combo button is never offered as a member.
    const QComboBox* member = child<QComboBox>("cmbButton_0");
    ASSERT_EQ(member->count(), 1);
    EXPECT_EQ(member->itemText(0), u"Years");
    EXPECT_EQ(member->currentIndex(), 0);
}

TEST_F(SettingsWindowTest, TheCounterFileButtonsChooseWhereTheCounterLies)
{
    const QString chosen = m_dir.filePath(QStringLiteral("elsewhere/Invoices.num"));
    QDir().mkpath(QFileInfo(chosen).path());
    {
        QFile file(chosen);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(" 42 \r\n");
    }
    startNew(EditorPage::AutoNumber, 0);
    child<QLineEdit>("txtText")->setFocus();
    QTRY_VERIFY(child<QPushButton>("cmdAutoNumber")->isEnabled());
    m_platform.answerNextOpenFile(chosen);
    QTest::mouseClick(child<QPushButton>("cmdAutoNumber"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>("txtNumber")->text(), u"42");
    ASSERT_TRUE(m_window->cmdOK_Click()) << m_platform.messageTexts().join(" | ").toStdString();
    const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~100.ini");
    EXPECT_EQ(button.read("AutoIniFile"), chosen);
    EXPECT_TRUE(bytesOf(chosen).startsWith("42"));

    // Saved elsewhere: the path is kept and the file written by the save.
    const QString saveTo = m_dir.filePath(QStringLiteral("elsewhere/Other.num"));
    m_host->files = {QStringLiteral("~100.ini")};
    m_host->last = QStringLiteral("~100.ini");
    startNew(EditorPage::AutoNumber, 0);
    type(QStringLiteral("txtButtonName"), QStringLiteral("Other"));
    child<QLineEdit>("txtText")->setFocus();
    QTRY_VERIFY(child<QPushButton>("cmdSave")->isEnabled());
    m_platform.answerNextSaveFile(saveTo);
    QTest::mouseClick(child<QPushButton>("cmdSave"), Qt::LeftButton);
    type(QStringLiteral("txtNumber"), QStringLiteral("7"));
    ASSERT_TRUE(m_window->cmdOK_Click()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(
        ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~101.ini").read("AutoIniFile"),
        saveTo);
    EXPECT_TRUE(bytesOf(saveTo).startsWith("7"));
}

TEST_F(SettingsWindowTest, FieldOptionsReachTheSavedButton)
{
    startNew(EditorPage::AutoNumber, 0);
    type(QStringLiteral("txtNumber"), QStringLiteral("1"));
    AutoNumberPage answer;
    answer.intTruncateA = 1;
    answer.intTruncateDigitsA = 4;
    answer.intCapsA = 1;
    m_screens.fieldOptionsAnswer = answer;
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(m_screens.fieldOptionsShown, 1);
    ASSERT_TRUE(m_window->cmdOK_Click());
    const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~100.ini");
    EXPECT_EQ(button.read("Truncate"), u"1");
    EXPECT_EQ(button.read("TruncateDigits"), u"4");
    EXPECT_EQ(button.read("AutoCaps"), u"1");
}

TEST_F(SettingsWindowTest, LaunchingKeelbrookSavesAndShutsDownEvenWhenTheSaveRefuses)
{
    startNew(EditorPage::Now, 4);
    m_screens.trigger = TriggerChoice::LaunchKeelbrook;
    QTest::mouseClick(child<QPushButton>("cmdTrigger"), Qt::LeftButton);
    EXPECT_EQ(m_host->launchKeelbrook, 1);
    EXPECT_EQ(m_host->shutdowns, 1);
    EXPECT_TRUE(QFileInfo::exists(buttonPath("~100.ini")));
    EXPECT_FALSE(m_window->isVisible());

    startNew(EditorPage::Now, 4);
    type(QStringLiteral("txtButtonName"), QString());
    QTest::mouseClick(child<QPushButton>("cmdTrigger"), Qt::LeftButton);
    EXPECT_EQ(m_platform.messages().last().text, u"You need to enter a caption for the button!");
    EXPECT_EQ(m_host->shutdowns, 2);
    EXPECT_FALSE(QFileInfo::exists(buttonPath("~101.ini")));
    EXPECT_FALSE(m_window->isVisible());

    // Closed without a launch: nothing happens.
    startNew(EditorPage::Now, 4);
    m_screens.trigger = TriggerChoice::Closed;
    QTest::mouseClick(child<QPushButton>("cmdTrigger"), Qt::LeftButton);
    EXPECT_EQ(m_host->shutdowns, 2);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(SettingsWindowTest, TheMenusOpenTheirWindows)
{
    open();
    EXPECT_FALSE(child<QAction>("mnuIniFile")->isEnabled());
    EXPECT_FALSE(child<QAction>("mnuIntegrate")->isEnabled());
    child<QAction>("mnuStart")->trigger();
    child<QAction>("mnuLanguage")->trigger();
    child<QAction>("mnuOnline")->trigger();
    EXPECT_EQ(m_screens.startOptionsShown, 1);
    EXPECT_EQ(m_screens.languagesShown, 1);
    EXPECT_EQ(m_screens.onlineHelpShown, 1);
    EXPECT_EQ(child<QAction>("mnuOptions")->text(), u"&Options");
    EXPECT_EQ(child<QAction>("mnuStart")->text(), u"System Tray");
    EXPECT_EQ(child<QAction>("mnuOnline")->text(), u"&Online Help");
}

TEST_F(SettingsWindowTest, TheLocationAndIntegrationItemsOpenTheBarsWindows)
{
    m_screens.offersOptions = true;
    open();
    ASSERT_TRUE(child<QAction>("mnuIniFile")->isEnabled());
    ASSERT_TRUE(child<QAction>("mnuIntegrate")->isEnabled());
    child<QAction>("mnuIniFile")->trigger();
    EXPECT_EQ(m_screens.settingsLocationShown, 1);

    // Closed without asking for the host's restart: the editor stays, the bar goes on.
    child<QAction>("mnuIntegrate")->trigger();
    EXPECT_EQ(m_screens.integrateShown, 1);
    EXPECT_EQ(m_host->shutdowns, 0);
    EXPECT_TRUE(m_window->isVisible());

    // A restart: the editor closes unsaved and the bar's unload follows.
    m_screens.integrateAsksRestart = true;
    child<QAction>("mnuIntegrate")->trigger();
    EXPECT_EQ(m_host->shutdowns, 1);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_host->saved.isEmpty());
}

TEST_F(SettingsWindowTest, CancelWritesNothing)
{
    startNew(EditorPage::Now, 4);
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(buttonPath("~100.ini")));
    EXPECT_TRUE(m_host->saved.isEmpty());
}

TEST_F(SettingsWindowTest, TabFollowsTheScreen)
{
    open();
    const QStringList condition{"txtButtonName",  "cmbTarget",      "optOver_1",      "txtAppendSep",
                                "optOver_2",      "cmdTrigger",     "chkType_1",      "chkCond_0",
                                "cmbFieldTab1_0", "cmbOperator_0",  "txtCondition_0", "txtValueTab1_0",
                                "chkCond_1",      "txtValueTab1_4", "cmdMoreCond",    "cmdOK",
                                "cmdCancel"};
    EXPECT_EQ(valdora::test::tabOrder(*child<QWidget>("txtButtonName"), condition), condition);
    const QStringList combo{"txtButtonName", "chkType_5",   "chkButton_0",  "cmbButton_0",
                            "chkButton_1",   "cmbButton_7", "cmdMoreCombo", "cmdOK"};
    EXPECT_EQ(valdora::test::tabOrder(*child<QWidget>("txtButtonName"), combo), combo);
    const QStringList autoNumber{"chkType_0",     "cmbPosition_0", "cmbField",     "cmbPosition_1", "txtText",
                                 "cmbPosition_2", "txtNumber",     "txtSeparator", "Command1",      "cmdOK"};
    EXPECT_EQ(valdora::test::tabOrder(*child<QWidget>("chkType_0"), autoNumber), autoNumber);
}

TEST_F(SettingsWindowTest, ACounterFileThatCannotBeWrittenIsReportedAndTheButtonNotWritten)
{
    startNew(EditorPage::AutoNumber, 0);
    type(QStringLiteral("txtNumber"), QStringLiteral("1"));
    child<QLineEdit>("txtText")->setFocus();
    QTRY_VERIFY(child<QPushButton>("cmdSave")->isEnabled());
    // A folder that does not exist: the counter cannot be written there.
    m_platform.answerNextSaveFile(m_dir.filePath(QStringLiteral("missing/folder/Invoice.num")));
    QTest::mouseClick(child<QPushButton>("cmdSave"), Qt::LeftButton);
    EXPECT_FALSE(m_window->cmdOK_Click());
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages()[0].text.contains(u"in frmSettings: Sub cmdOK_Click - Line # "))
        << m_platform.messages()[0].text.toStdString();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_host->saved.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(buttonPath("~100.ini")));
}

TEST_F(SettingsWindowTest, WithoutAnOpenDatabaseTheFieldListsStayEmpty)
{
    m_host = std::make_unique<TestEditorHost>(nullptr);
    open();
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(child<QComboBox>("cmbTarget")->count(), 0);
    EXPECT_EQ(child<QComboBox>("cmbField")->count(), 0);
    EXPECT_EQ(child<QComboBox>("cmbFieldTab1_0")->count(), 0);
}

class ScreenshotTest : public SettingsWindowTest,
                       public ::testing::WithParamInterface<valdora::test::Language> {};

TEST_P(ScreenshotTest, EveryPageShowsItsTextsWhole)
{
    const valdora::test::Language language = GetParam();
    m_session->messages().setLanguageBase(language.base);
    writeButton(QStringLiteral("~99.ini"), {{"Name", "Plain"}, {"Type", "4"}});
    m_host->files = {QStringLiteral("~99.ini")};
    SettingsWindow& window = open();
    EXPECT_EQ(child<QLineEdit>("txtButtonName")->text(), valdora::test::rowText(language, 458));
    // Our own captions beside the table's speak the same language.
    const Messages& texts = m_session->messages();
    EXPECT_EQ(child<QPushButton>("cmdSave")->text(), texts.get(OwnText::EditorSaveElsewhere));
    EXPECT_EQ(child<QPushButton>("cmdMoreCond")->text(), texts.get(OwnText::EditorMore));
    EXPECT_EQ(child<QPushButton>("cmdMoreCombo")->text(), texts.get(OwnText::EditorMore));
    if (language.base == valdora::test::German.base) {
        EXPECT_EQ(child<QPushButton>("cmdMoreCond")->text(), QStringLiteral("Mehr..."));
    }
    for (int index = 0; index < 7; ++index) {
        SCOPED_TRACE(index);
        page(static_cast<EditorPage>(index));
        QApplication::processEvents();
        valdora::test::saveScreenshot(
            window, QStringLiteral("frmSettings_%1_%2").arg(index).arg(QLatin1String(language.name)));
        valdora::test::expectNothingClipped(window);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenshotTest,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RowObjectName, NamesTheRowControlTheChecksName)
{
    EXPECT_EQ(rowObjectName("txtValueTab16"), u"txtValueTab1_6");
    EXPECT_EQ(rowObjectName("txtValueTab119"), u"txtValueTab1_19");
    EXPECT_EQ(rowObjectName("cmbButton8"), u"cmbButton_8");
    EXPECT_EQ(rowObjectName("txtNumber"), u"txtNumber");
    EXPECT_EQ(rowObjectName("txtValueTab1"), u"txtValueTab1");
    EXPECT_EQ(rowObjectName(""), u"");
}

TEST_F(SettingsWindowTest, ARefusedRowOfTheConditionsDialogOpensItWithThatRowFocused)
{
    writeButton(QStringLiteral("~100.ini"), {{"Name", "Ranked"},
                                             {"Type", "1"},
                                             {"Target", "Amount"},
                                             {"Cond6", "1"},
                                             {"Operator6", "0"},
                                             {"Value6", "abc"}});
    m_host->files = {QStringLiteral("~100.ini")};
    WindowEditorScreens screens(*m_session, *m_host);
    SettingsWindow window(*m_session, *m_host, screens, QStringLiteral("~100.ini"));
    screens.setEditor(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "the window did not become active within the wait";

    QString focusedInDialog;
    QString dialogName;
    valdora::test::inNextModal([&](QWidget& modal) {
        dialogName = modal.objectName();
        (void)QTest::qWaitFor(
            [&] {
                return QApplication::focusWidget() &&
                       QApplication::focusWidget()->objectName() == u"txtValueTab1_6";
            },
            3000);
        focusedInDialog = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        auto* close = modal.findChild<QPushButton*>(QStringLiteral("cmdClose"));
        ASSERT_NE(close, nullptr);
        close->click();
    });
    EXPECT_FALSE(window.cmdOK_Click());
    EXPECT_EQ(m_platform.messages().last().text, NumericType + QStringLiteral("Problem caused by value # 7"));
    EXPECT_EQ(dialogName, u"frmMoreCond");
    EXPECT_EQ(focusedInDialog, u"txtValueTab1_6");
}

} // namespace
} // namespace valdora::editor::test
