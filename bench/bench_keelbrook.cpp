// The trigger report of a database with 1,500 fields and 300 triggers: loaded (every field read,
// every trigger described) and shown to its first paint in this process, beside an empty QWidget
// shown the same way. Prints the medians and the report's cost over the empty window.
//
//   bench_keelbrook [RUNS]     (default 15; QT_QPA_PLATFORM defaults to offscreen)

#include "PaintWatch.h"
#include "triggers/program/KeelbrookState.h"
#include "triggers/program/ReportWindow.h"

#include "core/ConsolePlatform.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/EmbeddedDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace valdora;
using bench::median;
using bench::toFirstPaint;

constexpr int Fields = 1500;
constexpr int Triggers = 300;

/// A database whose fields reach past id 1,500, with 300 triggers spread over them: half entry, half
/// exit, programs and queues of buttons.
QString makeDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("Bench.dbf"));
    host::embedded::EmbeddedDatabase::create(path);
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    host::embedded::EmbeddedFieldList& fields = database.fields();
    for (int number = fields.Count() + 1; number <= Fields; ++number)
        fields.addField(QStringLiteral("Field %1").arg(number), host::FieldType::Character, 0);
    // The report reads ids up to 1,500 only: every trigger goes where it is listed.
    QList<host::FieldId> ids = fields.ids();
    ids.removeIf([](host::FieldId id) { return id > 1500; });
    for (int trigger = 0; trigger < Triggers; ++trigger) {
        const host::FieldId id = ids[(trigger * 5 + 7) % ids.size()];
        const QString text = trigger % 3 == 0 ? QStringLiteral("/opt/Valdora/ValdoraAuto.exe ~100,~101")
                                              : QStringLiteral("/opt/tools/program%1.exe").arg(trigger);
        if (trigger % 2 == 0)
            fields.EntryTrigger(id, text);
        else
            fields.ExitTrigger(id, text);
    }
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    QTemporaryDir dir;
    qputenv("VALDORA_USER_SETTINGS", dir.filePath(QStringLiteral("settings")).toUtf8());
    const QString path = makeDatabase(dir);

    ConsolePlatform platform;
    ProgramSession session(platform, QStringLiteral("Keelbrook"), dir.path(), UserSettings(), TextLocale(),
                           MessageTable::keelbrook());
    keelbrook::KeelbrookState state(session, &host::createDatabase, QStringLiteral("bench"));
    {
        std::unique_ptr<host::Database> database = state.createDatabase();
        database->OpenEx(path);
        host::ContactTable& contact = database->Contact();
        state.adoptDatabase(std::move(database), contact);
    }
    state.setDatabasePath(path);

    std::vector<double> report;
    std::vector<double> empty;
    int rows = 0;
    for (int run = 0; run < runs; ++run) {
        const std::optional<double> emptyMs =
            toFirstPaint("an empty QWidget", [] { return std::make_unique<QWidget>(); });
        const std::optional<double> reportMs = toFirstPaint("the trigger report", [&] {
            auto window = std::make_unique<keelbrook::ReportWindow>(state, nullptr, nullptr);
            rows = window->model().rowCount();
            return window;
        });
        if (!emptyMs || !reportMs)
            return 1;
        empty.push_back(*emptyMs);
        report.push_back(*reportMs);
    }
    if (state.ended()) {
        std::printf("the listing failed; see %s\n", qPrintable(state.errorReportPath()));
        return 1;
    }
    const double reportMs = median(report);
    const double emptyMs = median(empty);
    std::printf("trigger report (%d fields, %d rows), load to first paint: %.1f ms (median of %d)\n", Fields,
                rows, reportMs, runs);
    std::printf("empty window to first paint:                            %.1f ms\n", emptyMs);
    std::printf("report over the empty window:                           %.1f ms (target at most 200 ms)\n",
                reportMs - emptyMs);
    return 0;
}
