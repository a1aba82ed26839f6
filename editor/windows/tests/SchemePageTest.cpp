// A scheme page made over a box that lacks one of its controls says which, rather than leaving a
// pointer that the first load would follow into nothing.
#include "editor/windows/pages/AutoNumberPageWidgets.h"
#include "editor/windows/pages/SchemePages.h"

#include <QGroupBox>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace valdora::editor::test {
namespace {

using PageMaker = std::function<std::unique_ptr<SchemePage>(QGroupBox&, const RegisterControl&)>;

struct MissingControlCase {
    const char* name;
    PageMaker make;
    /// The first control the page looks for.
    const char* control;
};

std::unique_ptr<SchemePage> makeAutoNumberPage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<AutoNumberPageWidgets>(
        frame, registerControl, [] {}, [](AutoNumberPart) {});
}

class MissingControlTest : public ::testing::TestWithParam<MissingControlCase> {};

TEST_P(MissingControlTest, IsNamedByTheError)
{
    QGroupBox emptyBox;
    int registered = 0;
    const RegisterControl count = [&registered](const QString&, QWidget*) { ++registered; };
    try {
        GetParam().make(emptyBox, count);
        FAIL() << "a page was made over a box without its controls";
    } catch (const std::logic_error& error) {
        EXPECT_EQ(std::string(error.what()), std::string("the form has no control ") + GetParam().control);
    }
    EXPECT_EQ(registered, 0) << "a page that failed registered controls the window would then point at";
}

INSTANTIATE_TEST_SUITE_P(
    SchemePages, MissingControlTest,
    ::testing::Values(MissingControlCase{"AutoNumber", makeAutoNumberPage, "positionRows"},
                      MissingControlCase{"Condition", makeConditionPage, "conditionRows"},
                      MissingControlCase{"AddSubtract", makeAddSubtractPage, "chkZero"},
                      MissingControlCase{"MultiplyDivide", makeMultiplyDividePage, "txtInvalid"},
                      MissingControlCase{"Now", makeNowPage, "cmbOperatorTab4"},
                      MissingControlCase{"Combo", makeComboPage, "comboRows"},
                      MissingControlCase{"Age", makeAgePage, "cmbFieldTab5"}),
    [](const ::testing::TestParamInfo<MissingControlCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::editor::test
