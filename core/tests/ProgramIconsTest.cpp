// Every program's icon is there and draws something: a blank square is what users saw before.
#include "core/icons/ProgramIcons.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace valdora::icons {
namespace {

struct IconCase {
    const char* name;
    Program program;
};

class ProgramIconsTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(ProgramIconsTest, TheIconDrawsAtWindowAndToolbarSizes)
{
    const QIcon icon = programIcon(GetParam().program);
    ASSERT_FALSE(icon.isNull()) << iconResource(GetParam().program).toStdString();
    for (const int size : {16, 22, 32, 64})
        EXPECT_TRUE(rendersVisibly(icon, size))
            << size << " px: is Qt's SVG icon engine (libqt6svg6) installed?";
}

TEST_P(ProgramIconsTest, BecomesTheIconOfEveryWindow)
{
    useProgramIcon(GetParam().program);
    EXPECT_TRUE(rendersVisibly(QGuiApplication::windowIcon(), 32));
    QGuiApplication::setWindowIcon(QIcon());
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramIconsTest,
                         ::testing::Values(IconCase{"Valdora", Program::Valdora},
                                           IconCase{"Keelbrook", Program::Keelbrook},
                                           IconCase{"ContactHost", Program::ContactHost}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramIconsTest, AFlatSquareIsNoIcon)
{
    QPixmap flat(16, 16);
    flat.fill(Qt::white);
    EXPECT_FALSE(rendersVisibly(QIcon(flat), 16));
    EXPECT_FALSE(rendersVisibly(QIcon(), 16));
}

} // namespace
} // namespace valdora::icons
