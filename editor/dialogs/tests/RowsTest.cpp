// The condition and member rows on their own: names, captions, the lists they offer, and a row's
// entries loaded from the editor's state and stored back into it.
#include "editor/dialogs/ComboMemberRow.h"
#include "editor/dialogs/ConditionRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace valdora::editor {
namespace {

FieldListModel someFields()
{
    // Type 7 and slot 125 are never source fields.
    return FieldListModel({{QStringLiteral("Company"), 1, 1, 0},
                           {QStringLiteral("City"), 2, 1, 0},
                           {QStringLiteral("Notes"), 3, 7, 0},
                           {QStringLiteral("Amount"), 4, 5, 2}});
}

QList<ComboMember> someMembers()
{
    return {{QStringLiteral("~100.ini"), QStringLiteral("Number")},
            {QStringLiteral("~102.ini"), QStringLiteral("Age")},
            {QStringLiteral("~104.ini"), QStringLiteral("Age")}};
}

struct Window {
    QWidget widget;
    QGridLayout* grid = new QGridLayout(&widget);
};

TEST(ConditionRowWidgets, NamesItsControlsAfterTheRowAndCaptionsTheNumber)
{
    Window window;
    const FieldListModel fields = someFields();
    QStringListModel* sourceFields = makeSourceFieldModel(fields, window.widget);
    const ConditionRowWidgets row(*window.grid, 0, 6, Messages(), *sourceFields);

    EXPECT_EQ(row.chkCond(), window.widget.findChild<QCheckBox*>(QStringLiteral("chkCond_6")));
    EXPECT_EQ(row.cmbFieldTab1(), window.widget.findChild<QComboBox*>(QStringLiteral("cmbFieldTab1_6")));
    EXPECT_EQ(row.cmbOperator(), window.widget.findChild<QComboBox*>(QStringLiteral("cmbOperator_6")));
    EXPECT_EQ(row.txtCondition(), window.widget.findChild<QLineEdit*>(QStringLiteral("txtCondition_6")));
    EXPECT_EQ(row.Label11(), window.widget.findChild<QLabel*>(QStringLiteral("Label11_6")));
    EXPECT_EQ(row.txtValueTab1(), window.widget.findChild<QLineEdit*>(QStringLiteral("txtValueTab1_6")));

    EXPECT_EQ(row.chkCond()->text(), QStringLiteral("7. If"));
    EXPECT_EQ(row.Label11()->text(), QStringLiteral("then"));
    QStringList operators;
    for (int position = 0; position < row.cmbOperator()->count(); ++position)
        operators.append(row.cmbOperator()->itemText(position));
    EXPECT_EQ(operators, (QStringList{QStringLiteral(" ="), QStringLiteral(" <>"), QStringLiteral(" >"),
                                      QStringLiteral(" <"), QStringLiteral(" >="), QStringLiteral(" <="),
                                      QStringLiteral("Incl."), QStringLiteral("Starts")}));
    EXPECT_EQ(sourceFields->stringList(),
              (QStringList{QStringLiteral("Company"), QStringLiteral("City"), QStringLiteral("Amount")}));
    EXPECT_EQ(row.cmbFieldTab1()->count(), 3);
    EXPECT_EQ(row.cmbFieldTab1()->currentIndex(), -1) << "a new row shows no field";
    EXPECT_EQ(row.cmbOperator()->currentIndex(), -1) << "a new row shows no operator";
}

TEST(ConditionRowWidgets, CaptionsComeFromTheLanguage)
{
    Window window;
    QStringListModel* sourceFields = makeSourceFieldModel(someFields(), window.widget);
    const Messages german(MessageTable::valdora(), 2300);
    const ConditionRowWidgets row(*window.grid, 0, 19, german, *sourceFields);
    EXPECT_EQ(row.chkCond()->text(), QStringLiteral("20. ") + german.get(MessageId::ConditionIf));
    EXPECT_EQ(row.Label11()->text(), german.get(MessageId::ConditionThen));
}

TEST(ConditionRowWidgets, RefusesAGridWithoutAWindowAndAnIndexPastTheConditions)
{
    QStringListModel sourceFields;
    QGridLayout loose;
    EXPECT_THROW(ConditionRowWidgets(loose, 0, 5, Messages(), sourceFields), std::invalid_argument);
    Window window;
    EXPECT_THROW(ConditionRowWidgets(*window.grid, 0, 20, Messages(), sourceFields), std::invalid_argument);
    EXPECT_THROW(ConditionRowWidgets(*window.grid, 0, -1, Messages(), sourceFields), std::invalid_argument);
    EXPECT_TRUE(window.widget.findChildren<QCheckBox*>().isEmpty()) << "a refused row leaves nothing behind";
}

struct ConditionCase {
    const char* name;
    ConditionRow stored;
    ConditionRow shownBack; ///< what store gives for the row as loaded, without a change
};

void PrintTo(const ConditionCase& row, std::ostream* out)
{
    *out << row.name;
}

class ConditionRowRoundTrip : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionRowRoundTrip, StoresWhatItLoaded)
{
    Window window;
    QStringListModel* sourceFields = makeSourceFieldModel(someFields(), window.widget);
    const ConditionRowWidgets row(*window.grid, 0, 12, Messages(), *sourceFields);
    ConditionKeys keys;
    keys.rows[12] = GetParam().stored;
    row.load(keys);
    ConditionKeys back = keys;
    row.store(back);
    EXPECT_EQ(back.rows[12], GetParam().shownBack);
    for (std::size_t other = 0; other < back.rows.size(); ++other) {
        if (other != 12) {
            EXPECT_EQ(back.rows[other], keys.rows[other]) << "row " << other << " is not this row's";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConditionRowRoundTrip,
    ::testing::Values(
        ConditionCase{"Full",
                      {true, {"City", "2", "1"}, 6, "Paris", "FR"},
                      {true, {"City", "2", "1"}, 6, "Paris", "FR"}},
        ConditionCase{"NoOperator",
                      {false, {"Company", "1", "1"}, NoChoice, "", "x"},
                      {false, {"Company", "1", "1"}, NoChoice, "", "x"}},
        ConditionCase{"OperatorPastTheList", {true, {}, 8, "a", "b"}, {true, {}, NoChoice, "a", "b"}},
        ConditionCase{"FieldNotOffered", {true, {"Notes", "3", "7"}, 0, "a", "b"}, {true, {}, 0, "a", "b"}},
        ConditionCase{"FieldNameCaseCounts", {true, {"city", "-1", "-1"}, 1, "", ""}, {true, {}, 1, "", ""}},
        ConditionCase{"Empty", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConditionRowWidgets, StoresTheUsersEntries)
{
    Window window;
    QStringListModel* sourceFields = makeSourceFieldModel(someFields(), window.widget);
    const ConditionRowWidgets row(*window.grid, 0, 5, Messages(), *sourceFields);
    ConditionKeys keys;
    keys.rows[5] = {false, {"Company", "1", "1"}, 0, "old", "old"};
    row.load(keys);

    window.widget.show();
    QTest::mouseClick(row.chkCond(), Qt::LeftButton, {}, QPoint(4, row.chkCond()->height() / 2));
    row.cmbFieldTab1()->setCurrentIndex(2);
    row.cmbOperator()->setCurrentIndex(7);
    row.txtCondition()->clear();
    QTest::keyClicks(row.txtCondition(), QStringLiteral("Mon"));
    row.txtValueTab1()->clear();
    QTest::keyClicks(row.txtValueTab1(), QStringLiteral("//Company"));
    row.store(keys);

    // The field changed, so its id and type are left for the save to look up by name.
    EXPECT_EQ(keys.rows[5], (ConditionRow{true, {"Amount", "", ""}, 7, "Mon", "//Company"}));
}

TEST(ComboMemberRowWidgets, NamesItsControlsAndOffersTheMemberMap)
{
    Window window;
    const QList<ComboMember> members = someMembers();
    QStringListModel* captions = makeMemberCaptionModel(members, window.widget);
    const ComboMemberRowWidgets row(*window.grid, 0, 8, members, *captions);
    EXPECT_EQ(row.chkButton(), window.widget.findChild<QCheckBox*>(QStringLiteral("chkButton_8")));
    EXPECT_EQ(row.cmbButton(), window.widget.findChild<QComboBox*>(QStringLiteral("cmbButton_8")));
    EXPECT_EQ(captions->stringList(),
              (QStringList{QStringLiteral("Number"), QStringLiteral("Age"), QStringLiteral("Age")}));
    EXPECT_EQ(row.cmbButton()->currentIndex(), -1);
    QStringListModel none;
    QGridLayout loose;
    EXPECT_THROW(ComboMemberRowWidgets(loose, 0, 8, {}, none), std::invalid_argument);
    EXPECT_THROW(ComboMemberRowWidgets(*window.grid, 1, 20, {}, none), std::invalid_argument);
}

struct MemberCase {
    const char* name;
    ComboSlot stored;
    int shownEntry;
    ComboSlot storedBack;
};

void PrintTo(const MemberCase& row, std::ostream* out)
{
    *out << row.name;
}

class ComboMemberRoundTrip : public ::testing::TestWithParam<MemberCase> {};

TEST_P(ComboMemberRoundTrip, ShowsTheMemberOfItsFileAndStoresItBack)
{
    Window window;
    const QList<ComboMember> members = someMembers();
    QStringListModel* captions = makeMemberCaptionModel(members, window.widget);
    const ComboMemberRowWidgets row(*window.grid, 0, 19, members, *captions);
    ComboKeys keys;
    keys.members[19] = GetParam().stored;
    row.load(keys);
    EXPECT_EQ(row.cmbButton()->currentIndex(), GetParam().shownEntry);
    EXPECT_EQ(row.chkButton()->isChecked(), GetParam().stored.inUse);
    ComboKeys back = keys;
    row.store(back);
    EXPECT_EQ(back.members[19], GetParam().storedBack);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, ComboMemberRoundTrip,
    ::testing::Values(MemberCase{"First", {true, "~100.ini"}, 0, {true, "~100.ini"}},
                      // Two members share the caption "Age": the row keeps the one its file names.
                      MemberCase{"SecondOfOneCaption", {true, "~104.ini"}, 2, {true, "~104.ini"}},
                      MemberCase{"NotAMember", {false, "~101.ini"}, -1, {false, ""}},
                      MemberCase{"Empty", {}, -1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComboMemberRowWidgets, StoresTheChosenMembersFile)
{
    Window window;
    const QList<ComboMember> members = someMembers();
    QStringListModel* captions = makeMemberCaptionModel(members, window.widget);
    const ComboMemberRowWidgets first(*window.grid, 0, 8, members, *captions);
    const ComboMemberRowWidgets second(*window.grid, 1, 9, members, *captions);
    first.cmbButton()->setCurrentIndex(1);
    second.cmbButton()->setCurrentIndex(2);
    second.chkButton()->setChecked(true);
    ComboKeys keys;
    first.store(keys);
    second.store(keys);
    EXPECT_EQ(keys.members[8], (ComboSlot{false, QStringLiteral("~102.ini")}));
    EXPECT_EQ(keys.members[9], (ComboSlot{true, QStringLiteral("~104.ini")}));
    EXPECT_EQ(first.cmbButton()->currentIndex(), 1) << "rows over one list choose apart";
}

} // namespace
} // namespace valdora::editor
