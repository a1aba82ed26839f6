// A second process for the counter-file tests: hands out AutoNumber numbers from one counter file
// through a real engine over its own embedded database, as a run does for each contact.
//
//   engine_counter_helper <work folder> <counter file> <count> [hold]
//
// Prints each number handed out on its own line. With "hold" it obtains one number, prints it and
// waits to be killed without advancing the counter (a run that ended in the middle).

#include "TestDatabase.h"

#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "run/ProgramProfile.h"

#include "core/ConsolePlatform.h"
#include "settings/ProgramSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include <cstdio>

using namespace valdora;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: engine_counter_helper <work folder> <counter file> <count> [hold]\n");
        return 2;
    }
    const QString work = args.at(1);
    const QString counterFile = args.at(2);
    const int count = args.at(3).toInt();
    const bool hold = args.size() > 4 && args.at(4) == u"hold";

    QDir().mkpath(work + QStringLiteral("/buttons"));
    ConsolePlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), work, UserSettings(work));
    session.setSettingsFile(work + QStringLiteral("/buttons/Valdora.ini"));
    const QString button = QStringLiteral("~101.ini");
    const QString buttonPath = session.buttonFilePath(button);
    session.ini().SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("0"),
                              buttonPath);
    session.ini().SetKeyValue(QStringLiteral("Settings"), QStringLiteral("Format"), QString(QChar(0xFA)),
                              buttonPath);
    session.ini().SetKeyValue(QStringLiteral("Settings"), QStringLiteral("AutoIniFile"), counterFile,
                              buttonPath);

    std::unique_ptr<host::Database> database =
        engine::test::createTestDatabase(work + QStringLiteral("/contacts.db"));
    const host::ContactId contact = engine::test::addTestContact(*database, {});
    engine::TableFieldReader reader(database->Contact(), database->Users());
    engine::FieldValueTable fieldValues(engine::test::maxFieldId(*database));
    engine::ValueEngine engine(session, reader, fieldValues,
                               run::ProgramProfile::valdora(session.locale()).engine);

    engine.Initialize(codeOf(Scheme::AutoNumber), 0, button);
    for (int i = 0; i < count; ++i) {
        const QString number = engine.Obtain(codeOf(Scheme::AutoNumber), contact, button, 0);
        std::printf("%s\n", qPrintable(number));
        std::fflush(stdout);
        if (hold) {
            for (;;)
                QThread::sleep(1);
        }
        engine.Update_AutoNumber(0);
        engine.releaseCounterLocks();
    }
    database->Close();
    return 0;
}
