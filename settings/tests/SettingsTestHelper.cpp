// A second process for the tests of the settings store: writes and reads keys as another program
// of the suite would, and holds file locks.
//
//   settings_test_helper set-ini <file> <section> <key> <value>
//   settings_test_helper get-ini <file> <section> <key>
//   settings_test_helper fill-ini <file> <section> <key prefix> <count>
//   settings_test_helper watch-ini <file> <section> <key> <count>   (exit 1 if a read finds it empty)
//   settings_test_helper set-user <folder> <application> <section> <key> <value>
//   settings_test_helper fill-user <folder> <application> <section> <key prefix> <count>
//   settings_test_helper hold-lock <file> <milliseconds>
//
// Exit code 0 on success, 1 when a write failed, 2 on a bad command line.

#include "settings/IniLib.h"
#include "settings/UserSettings.h"

#include "core/ConsolePlatform.h"
#include "core/ErrorReport.h"
#include "core/FileLock.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdio>

namespace {

using namespace valdora;

int fill(int count, const std::function<bool(const QString&, const QString&)>& write, const QString& prefix)
{
    for (int i = 0; i < count; ++i) {
        if (!write(prefix + QString::number(i), QString::number(i)))
            return 1;
    }
    return 0;
}

int run(const QStringList& args)
{
    ConsolePlatform platform;
    const ErrorReporter reporter(platform, QStringLiteral("Valdora"), [] { return QString(); });
    const IniLib ini(reporter, TextLocale(QLocale(QStringLiteral("en_US"))));
    const QString command = args.value(0);

    if (command == u"set-ini" && args.size() == 5)
        return ini.SetKeyValue(args[2], args[3], args[4], args[1]) ? 0 : 1;
    if (command == u"get-ini" && args.size() == 4) {
        std::fputs(ini.GetKeyValue(args[2], args[3], {}, {}, {}, args[1]).toUtf8().constData(), stdout);
        return 0;
    }
    if (command == u"fill-ini" && args.size() == 5) {
        return fill(
            args[4].toInt(),
            [&](const QString& key, const QString& value) {
                return ini.SetKeyValue(args[2], key, value, args[1]);
            },
            args[3]);
    }
    if (command == u"watch-ini" && args.size() == 5) {
        const int count = args[4].toInt();
        for (int i = 0; i < count; ++i) {
            if (ini.GetKeyValue(args[2], args[3], {}, {}, {}, args[1]).isEmpty())
                return 1;
        }
        return 0;
    }
    if (command == u"set-user" && args.size() == 6)
        return UserSettings(args[1]).set(args[2], args[3], args[4], args[5]) ? 0 : 1;
    if (command == u"fill-user" && args.size() == 6) {
        const UserSettings store(args[1]);
        return fill(
            args[5].toInt(),
            [&](const QString& key, const QString& value) { return store.set(args[2], args[3], key, value); },
            args[4]);
    }
    if (command == u"hold-lock" && args.size() == 3) {
        const FileLock lock(args[1]);
        if (!lock.isLocked())
            return 1;
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        QThread::msleep(args[2].toULong());
        return 0;
    }
    std::fputs("settings_test_helper: bad command line\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    return run(args);
}
