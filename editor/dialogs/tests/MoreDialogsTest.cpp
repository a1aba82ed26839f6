// The two "More..." dialogs over an editor loaded from real button files: OK keeps the rows in the
// editor's state so that the save writes them, Cancel and the close box put the file's rows back and
// unload the dialog, and the member lists never offer a Combo button.
#include "DialogTestSupport.h"

#include "editor/dialogs/MoreConditionsDialog.h"
#include "editor/dialogs/MoreMembersDialog.h"

#include "editor/EditorSave.h"

#include "core/testsupport/QtPrinters.h"
#include "settings/tests/SettingsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace valdora::editor::test {
namespace {

using namespace valdora::test;

QString controlName(const char* control, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(index);
}

class MoreDialogs : public SettingsTest {
protected:
    MoreDialogs()
    {
        QDir().mkpath(m_folder);
        // The bar: an AutoNumber button, a Combo button, a button without a scheme code (read as a
        // Combo button), an Age button, a Condition button and a Combo button.
        write("~100.ini", {"Name=Number", "Type=0"});
        write("~101.ini", {"Name=Both", "Type=5"});
        write("~102.ini", {"Name=Untyped"});
        write("~103.ini", {"Name=Age", "Type=6"});
        write("~104.ini",
              {"Name=Check", "Type=1", "Cond0=1", "Operator0=0", "Field0=City", "Cond6=0", "Field6=City",
               "Operator6=3", "Condition6=10", "Value6=ten", "Cond19=1", "Value19=last"});
        write("~105.ini", {"Name=Chain", "Type=5", "Button0=1", "ButtonName0=~100.ini", "Button8=1",
                           "ButtonName8=~103.ini", "Button12=0", "ButtonName12=~101.ini"});
    }

    void write(const QString& name, const QStringList& lines) const
    {
        ASSERT_TRUE(writeFile(m_folder + name, buttonFileText(lines)));
    }
    EditorSources sources() const
    {
        return {m_ini,      m_folder,
                m_folder,   m_folder,
                m_messages, m_textLocale,
                m_fields,   {"~100.ini", "~101.ini", "~102.ini", "~103.ini", "~104.ini", "~105.ini"}};
    }
    EditorState load(const QString& name) const { return loadEditorState(sources(), name); }
    QString savedKey(const EditorState& state, const QString& key) const
    {
        const SaveEnvironment environment{
            m_ini, m_store, m_folder, m_folder, m_fields, QStringLiteral("/data/Sales.dbf"), QString()};
        EXPECT_TRUE(saveEditorState(state, environment).written);
        return ButtonFile::inFolder(m_ini, m_folder, state.fileName).read(key, QStringLiteral("<absent>"));
    }

    Messages m_messages;
    TextLocale m_textLocale{QLocale(QStringLiteral("en_US"))};
    FieldListModel m_fields{{{QStringLiteral("Company"), 1, 1, 0}, {QStringLiteral("City"), 2, 1, 0}}};
    UserSettings m_store{m_userSettings.path()};
    const QString m_folder = path(QStringLiteral("buttons/"));
};

TEST_F(MoreDialogs, ConditionsShowRowsSixToTwentyFromTheFile)
{
    EditorState state = load("~104.ini");
    MoreConditions more(m_messages, m_fields, state.condition, nullptr);
    inNextModal([](QWidget& window) {
        EXPECT_EQ(window.objectName(), QStringLiteral("frmMoreCond"));
        EXPECT_EQ(window.findChild<QGroupBox*>(QStringLiteral("fra1"))->title(), QStringLiteral("Condition"));
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(), QStringLiteral("&OK"));
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
                  QStringLiteral("&Cancel"));
        EXPECT_EQ(window.findChild<QCheckBox*>(controlName("chkCond", 4)), nullptr) << "row 5 is the page's";
        for (int index = 5; index < 20; ++index) {
            const auto* check = window.findChild<QCheckBox*>(controlName("chkCond", index));
            ASSERT_NE(check, nullptr) << index;
            EXPECT_EQ(check->text(), QStringLiteral("%1. If").arg(index + 1));
            EXPECT_EQ(window.findChild<QLabel*>(controlName("Label11", index))->text(),
                      QStringLiteral("then"));
            EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbOperator", index))->count(), 8);
        }
        EXPECT_FALSE(window.findChild<QCheckBox*>(controlName("chkCond", 6))->isChecked());
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbFieldTab1", 6))->currentText(),
                  QStringLiteral("City"));
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbOperator", 6))->currentText(),
                  QStringLiteral(" <"));
        EXPECT_EQ(window.findChild<QLineEdit*>(controlName("txtCondition", 6))->text(), QStringLiteral("10"));
        EXPECT_EQ(window.findChild<QLineEdit*>(controlName("txtValueTab1", 6))->text(),
                  QStringLiteral("ten"));
        EXPECT_TRUE(window.findChild<QCheckBox*>(controlName("chkCond", 19))->isChecked());
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbOperator", 19))->currentIndex(), -1);
        click(window, QStringLiteral("cmdClose"));
    });
    EXPECT_TRUE(more.show(state));
}

TEST_F(MoreDialogs, TickingConditionSevenAndOkSavesCond6)
{
    EditorState state = load("~104.ini");
    MoreConditions more(m_messages, m_fields, state.condition, nullptr);
    inNextModal([](QWidget& window) {
        tick(window, controlName("chkCond", 6));
        click(window, QStringLiteral("cmdClose"));
    });
    EXPECT_TRUE(more.show(state));
    EXPECT_TRUE(state.condition.rows[6].inUse);
    ASSERT_NE(more.dialog(), nullptr) << "OK hides the dialog and keeps it loaded";
    EXPECT_FALSE(more.dialog()->isVisible());
    EXPECT_TRUE(more.dialog()->findChild<QCheckBox*>(controlName("chkCond", 6))->isChecked());
    EXPECT_EQ(savedKey(state, "Cond6"), QStringLiteral("1"));
    EXPECT_EQ(savedKey(state, "Value19"), QStringLiteral("last")) << "the other rows go back as they were";
}

TEST_F(MoreDialogs, CancelDropsTheEntriesAndTheNextOpeningShowsTheFile)
{
    for (const bool closeBox : {false, true}) {
        EditorState state = load("~104.ini");
        const ConditionKeys fileRows = state.condition;
        MoreConditions more(m_messages, m_fields, fileRows, nullptr);
        // First OK with condition 7 ticked, then Cancel after more changes: both are dropped.
        inNextModal([](QWidget& window) {
            tick(window, controlName("chkCond", 6));
            click(window, QStringLiteral("cmdClose"));
        });
        ASSERT_TRUE(more.show(state));
        inNextModal([closeBox](QWidget& window) {
            EXPECT_TRUE(window.findChild<QCheckBox*>(controlName("chkCond", 6))->isChecked())
                << "reopened after OK: the rows as entered";
            auto* value = window.findChild<QLineEdit*>(controlName("txtValueTab1", 10));
            QTest::keyClicks(value, QStringLiteral("typed"));
            if (closeBox)
                window.close();
            else
                click(window, QStringLiteral("cmdCancel"));
        });
        EXPECT_FALSE(more.show(state)) << closeBox;
        EXPECT_EQ(more.dialog(), nullptr) << "Cancel unloads the dialog";
        EXPECT_EQ(state.condition, fileRows);
        EXPECT_EQ(savedKey(state, "Cond6"), QStringLiteral("0"));

        inNextModal([](QWidget& window) {
            EXPECT_FALSE(window.findChild<QCheckBox*>(controlName("chkCond", 6))->isChecked());
            EXPECT_TRUE(window.findChild<QLineEdit*>(controlName("txtValueTab1", 10))->text().isEmpty());
            click(window, QStringLiteral("cmdCancel"));
        });
        more.show(state);
    }
}

TEST_F(MoreDialogs, CancelKeepsThePagesConditions)
{
    EditorState state = load("~104.ini");
    MoreConditions more(m_messages, m_fields, state.condition, nullptr);
    state.condition.rows[0].value = QStringLiteral("typed on the page");
    state.condition.rows[4].inUse = true;
    inNextModal([](QWidget& window) { click(window, QStringLiteral("cmdCancel")); });
    more.show(state);
    EXPECT_EQ(state.condition.rows[0].value, QStringLiteral("typed on the page"));
    EXPECT_TRUE(state.condition.rows[4].inUse);
}

TEST_F(MoreDialogs, MembersNeverOfferAComboButton)
{
    EditorState state = load("~105.ini");
    MoreMembers more(m_messages, state.combo, nullptr);
    inNextModal([](QWidget& window) {
        EXPECT_EQ(window.objectName(), QStringLiteral("frmMoreCombo"));
        EXPECT_EQ(window.findChild<QGroupBox*>(QStringLiteral("fra1"))->title(), QStringLiteral("Combo"));
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbButton", 7)), nullptr)
            << "row 8 is the page's";
        for (int index = 8; index < 20; ++index) {
            const auto* list = window.findChild<QComboBox*>(controlName("cmbButton", index));
            ASSERT_NE(list, nullptr) << index;
            QStringList offered;
            for (int entry = 0; entry < list->count(); ++entry)
                offered << list->itemText(entry);
            EXPECT_EQ(offered,
                      (QStringList{QStringLiteral("Number"), QStringLiteral("Age"), QStringLiteral("Check")}))
                << index;
        }
        EXPECT_TRUE(window.findChild<QCheckBox*>(controlName("chkButton", 8))->isChecked());
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbButton", 8))->currentText(),
                  QStringLiteral("Age"));
        // A member that is a Combo button is not offered, so its row shows no choice.
        EXPECT_EQ(window.findChild<QComboBox*>(controlName("cmbButton", 12))->currentIndex(), -1);
        click(window, QStringLiteral("cmdClose"));
    });
    EXPECT_TRUE(more.show(state));
}

TEST_F(MoreDialogs, MembersOkKeepsTheRowsAndCancelRevertsThem)
{
    EditorState state = load("~105.ini");
    const ComboKeys fileRows = state.combo;
    MoreMembers more(m_messages, fileRows, nullptr);
    inNextModal([](QWidget& window) {
        tick(window, controlName("chkButton", 19));
        window.findChild<QComboBox*>(controlName("cmbButton", 19))->setCurrentIndex(0);
        click(window, QStringLiteral("cmdClose"));
    });
    ASSERT_TRUE(more.show(state));
    EXPECT_EQ(state.combo.members[19], (ComboSlot{true, QStringLiteral("~100.ini")}));
    EXPECT_EQ(state.combo.members[8], (ComboSlot{true, QStringLiteral("~103.ini")}));
    ASSERT_NE(more.dialog(), nullptr);
    EXPECT_EQ(savedKey(state, "Button19"), QStringLiteral("1"));
    EXPECT_EQ(savedKey(state, "ButtonName19"), QStringLiteral("~100.ini"));

    EditorState again = load("~105.ini");
    MoreMembers fresh(m_messages, again.combo, nullptr);
    const ComboKeys saved = again.combo;
    inNextModal([](QWidget& window) {
        tick(window, controlName("chkButton", 10));
        click(window, QStringLiteral("cmdCancel"));
    });
    EXPECT_FALSE(fresh.show(again));
    EXPECT_EQ(fresh.dialog(), nullptr);
    EXPECT_EQ(again.combo, saved);
}

TEST_F(MoreDialogs, TabVisitsTheRowsThenTheButtons)
{
    EditorState state = load("~105.ini");
    MoreConditions conditions(m_messages, m_fields, state.condition, nullptr);
    inNextModal([](QWidget& window) {
        const QStringList wanted{
            controlName("chkCond", 18),      controlName("cmbFieldTab1", 18), controlName("cmbOperator", 18),
            controlName("txtCondition", 18), controlName("txtValueTab1", 18), controlName("chkCond", 19),
            controlName("cmbFieldTab1", 19), controlName("cmbOperator", 19),  controlName("txtCondition", 19),
            controlName("txtValueTab1", 19), QStringLiteral("cmdClose"),      QStringLiteral("cmdCancel")};
        EXPECT_EQ(tabOrder(*window.findChild<QWidget*>(controlName("chkCond", 18)), wanted), wanted);
        click(window, QStringLiteral("cmdCancel"));
    });
    conditions.show(state);
    MoreMembers members(m_messages, state.combo, nullptr);
    inNextModal([](QWidget& window) {
        const QStringList wanted{controlName("chkButton", 18), controlName("cmbButton", 18),
                                 controlName("chkButton", 19), controlName("cmbButton", 19),
                                 QStringLiteral("cmdClose"),   QStringLiteral("cmdCancel")};
        EXPECT_EQ(tabOrder(*window.findChild<QWidget*>(controlName("chkButton", 18)), wanted), wanted);
        click(window, QStringLiteral("cmdCancel"));
    });
    members.show(state);
}

TEST_F(MoreDialogs, OpenOverTheEditorAndKeptAboveIt)
{
    QWidget editor;
    editor.setGeometry(120, 90, 900, 640);
    showAndWait(editor);
    EditorState state = load("~105.ini");
    MoreMembers members(m_messages, state.combo, &editor);
    inNextModal([&editor](QWidget& window) {
        const QPoint offset = window.frameGeometry().center() - editor.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 40) << offset.x() << "," << offset.y();
        ASSERT_NE(window.windowHandle(), nullptr);
        EXPECT_EQ(window.windowHandle()->transientParent(), editor.windowHandle());
        click(window, QStringLiteral("cmdClose"));
    });
    EXPECT_TRUE(members.show(state));
}

class MoreDialogsLanguage : public MoreDialogs, public ::testing::WithParamInterface<Language> {};

TEST_P(MoreDialogsLanguage, CaptionsComeFromTheTableAndFit)
{
    const Language& language = GetParam();
    m_messages.setLanguageBase(language.base);
    EditorState state = load("~104.ini");
    MoreConditionsDialog conditions(m_messages, m_fields);
    conditions.load(state.condition);
    showAndWait(conditions);
    EXPECT_EQ(conditions.findChild<QGroupBox*>(QStringLiteral("fra1"))->title(), rowText(language, 434));
    EXPECT_EQ(conditions.findChild<QCheckBox*>(controlName("chkCond", 9))->text(),
              QStringLiteral("10. ") + rowText(language, 459));
    EXPECT_EQ(conditions.findChild<QLabel*>(controlName("Label11", 9))->text(), rowText(language, 460));
    EXPECT_EQ(conditions.findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(), rowText(language, 301));
    EXPECT_EQ(conditions.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
              rowText(language, 302));
    expectNothingClipped(conditions);
    EXPECT_LE(conditions.height(), 760) << "fifteen rows fit a small screen";
    saveScreenshot(conditions, QStringLiteral("frmMoreCond-%1").arg(QString::fromLatin1(language.name)));

    MoreMembersDialog members(m_messages, state.comboMembers);
    members.load(load("~105.ini").combo);
    showAndWait(members);
    EXPECT_EQ(members.findChild<QGroupBox*>(QStringLiteral("fra1"))->title(), rowText(language, 438));
    expectNothingClipped(members);
    saveScreenshot(members, QStringLiteral("frmMoreCombo-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, MoreDialogsLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::editor::test
