// Writes of button files and of the per-user store when the atomic replace under them fails at any
// step: the write says it failed, the file keeps its old content whole (and reads so), no temporary
// is left beside it, and the next write goes through.
#include "SettingsTestSupport.h"

#include "settings/IniLib.h"
#include "settings/UserSettings.h"

#include "core/FileReplaceFaults.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ReplaceFaultSupport.h"

#include <QDir>

#include <functional>

namespace valdora::test {
namespace {

/// The writers under test, as a row sees them.
struct Writers {
    const IniLib& ini;
    const UserSettings& store;
    const QString& file;
};

struct WriteCase {
    const char* name;
    const char* file;                 // in the test's folder; the store lies in "user"
    std::optional<QByteArray> before; // nullopt: the file does not exist
    bool folderMissing;               // the store creates its folder, a button file's must exist
    std::function<bool(const Writers&)> write;
    std::function<QString(const Writers&)> read;
    QString valueBefore;
    QString valueAfter;
};

// Test names in CTest carry the row's name, not its bytes.
void PrintTo(const WriteCase& row, std::ostream* os)
{
    *os << row.name;
}

class SettingsWriteFaultTest : public SettingsTest, public ::testing::WithParamInterface<WriteCase> {
protected:
    void prepare() const
    {
        const QString folder = QFileInfo(file()).absolutePath();
        QDir(folder).removeRecursively();
        if (!GetParam().folderMissing) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        if (GetParam().before) {
            ASSERT_TRUE(writeFile(file(), *GetParam().before));
        }
    }
    QString file() const { return path(QString::fromLatin1(GetParam().file)); }

    const UserSettings m_store{path(QStringLiteral("user"))};
};

TEST_P(SettingsWriteFaultTest, EveryFailedStepIsReportedAndLeavesTheOldContent)
{
    const WriteCase& c = GetParam();
    const QString target = file();
    const Writers writers{m_ini, m_store, target};
    prepare();
    const int steps = replaceStepsOf([&] { EXPECT_TRUE(c.write(writers)); });
    ASSERT_GE(steps, 3);
    RecordProperty("injected_failures", steps);
    std::optional<QByteArray> written = contentOf(target);
    ASSERT_TRUE(written);
    for (int n = 1; n <= steps; ++n) {
        prepare();
        const FileReplaceFaults faults(n);
        SCOPED_TRACE(n);
        EXPECT_FALSE(c.write(writers));
        ASSERT_TRUE(faults.failedStep());
        SCOPED_TRACE(replaceStepName(*faults.failedStep()));
        EXPECT_EQ(contentOf(target), c.before);
        EXPECT_EQ(c.read(writers), c.valueBefore);
        EXPECT_EQ(temporariesBeside(target), QStringList());
        EXPECT_TRUE(c.write(writers)) << "a failed write leaves nothing in the way of the next";
        EXPECT_EQ(contentOf(target), written);
        EXPECT_EQ(c.read(writers), c.valueAfter);
    }
}

const QByteArray Button = "; saved by hand\r\n[Settings]\r\nName=Alpha\r\nType=1\r\n";
const QByteArray Store = "[Progress]\r\nStage=5\r\nTotal=9\r\n[Window]\r\nLeft=10\r\n";

bool setName(const Writers& w)
{
    return w.ini.SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("Beta"),
                             w.file);
}
QString readName(const Writers& w)
{
    return w.ini.GetKeyValue(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("-"), {}, {},
                             w.file);
}
bool setTarget(const Writers& w)
{
    return w.ini.SetKeyValue(QStringLiteral("Member0"), QStringLiteral("Target"), QStringLiteral("User 1"),
                             w.file);
}
QString readTarget(const Writers& w)
{
    return w.ini.GetKeyValue(QStringLiteral("Member0"), QStringLiteral("Target"), QStringLiteral("-"), {}, {},
                             w.file);
}
bool setStage(const Writers& w)
{
    return w.store.set(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Stage"),
                       QStringLiteral("6"));
}
QString readStage(const Writers& w)
{
    return w.store.get(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Stage"),
                       QStringLiteral("-"));
}
bool removeProgress(const Writers& w)
{
    return w.store.removeSection(Application::Valdora, QStringLiteral("Progress"));
}

INSTANTIATE_TEST_SUITE_P(Writes, SettingsWriteFaultTest,
                         ::testing::Values(WriteCase{"ButtonKeyChanged", "Buttons/~100.ini", Button, false,
                                                     setName, readName, "Alpha", "Beta"},
                                           WriteCase{"ButtonSectionAdded", "Buttons/~100.ini", Button, false,
                                                     setTarget, readTarget, "-", "User 1"},
                                           WriteCase{"ButtonFileCreated", "Buttons/~100.ini", std::nullopt,
                                                     false, setName, readName, "-", "Beta"},
                                           WriteCase{"StoreValueChanged", "user/Valdora.ini", Store, false,
                                                     setStage, readStage, "5", "6"},
                                           WriteCase{"StoreCreated", "user/Valdora.ini", std::nullopt, true,
                                                     setStage, readStage, "-", "6"},
                                           WriteCase{"StoreSectionRemoved", "user/Valdora.ini", Store, false,
                                                     removeProgress, readStage, "5", "-"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::test
