#pragma once

#include "run/tests/ProgramOnHostFixture.h"
#include "settings/UserKey.h"

namespace valdora::bar::test {

/// Where the bar's window tests begin: a running headless host, a user past the first start who has
/// chosen English.
class BarOnHostTest : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        startHost();
        store().set(Application::Valdora, UserKey::Settings, UserKey::Installed, QStringLiteral("1"));
        store().set(Application::Valdora, UserKey::Options, UserKey::Language, QStringLiteral("0"));
    }

    const UserSettings& store() const { return m_session->userSettings(); }

    /// Writes a button that multiplies 3 by 4 into the field Amount, overwriting whatever it holds.
    void multiplyButton(const QString& name, const QString& caption)
    {
        writeButton(name, {{"Name", caption},
                           {"Type", "3"},
                           {"Target", "Amount"},
                           {"Over3", "1"},
                           {"CalcOperator", "0"},
                           {"CalcTextOption0", "1"},
                           {"CalcText0", "3"},
                           {"CalcTextOption1", "1"},
                           {"CalcText1", "4"}});
    }
};

} // namespace valdora::bar::test
