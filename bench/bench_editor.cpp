// The button editor opened in this process on a Condition button of a database with 500 fields and a
// bar of 120 buttons, to its first paint, beside an empty QDialog shown the same way. Prints the
// medians and the editor's cost over the empty dialog.
//
//   bench_editor [RUNS]     (default 15; QT_QPA_PLATFORM defaults to offscreen)

#include "PaintWatch.h"
#include "core/ConsolePlatform.h"
#include "editor/windows/EditorHost.h"
#include "editor/windows/EditorScreens.h"
#include "editor/windows/SettingsWindow.h"
#include "host/embedded/EmbeddedDatabase.h"
#include "host/embedded/EmbeddedFieldList.h"
#include "host/embedded/SampleData.h"
#include "settings/ButtonFile.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace valdora;
using bench::median;
using bench::toFirstPaint;

constexpr int Fields = 500;
constexpr int Buttons = 120;

class BenchHost final : public editor::EditorHost {
public:
    BenchHost(host::Database& database, QStringList files) : m_database(database), m_files(std::move(files))
    {}
    QStringList buttonFiles() const override { return m_files; }
    QString lastButtonFile() const override { return m_files.last(); }
    QString databasePath() const override { return m_database.GetDatabasePath(); }
    const host::FieldList* fields() const override { return &m_database.Contact().Fields(); }
    void buttonSaved(const QString&, bool) override {}
    void setLaunchKeelbrook() override {}
    void startShutdown() override {}

private:
    host::Database& m_database;
    QStringList m_files;
};

class NoScreens final : public editor::EditorScreens {
public:
    bool fieldOptions(editor::AutoNumberPage&) override { return false; }
    void moreConditions(editor::EditorState&, const QString&) override {}
    void moreMembers(editor::EditorState&, const QString&) override {}
    editor::TriggerChoice triggerChoice() override { return editor::TriggerChoice::Closed; }
    void startOptions() override {}
    void languages() override {}
    void settingsLocation() override {}
    bool integrate() override { return false; }
    void onlineHelp() override {}
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("VALDORA_USER_SETTINGS", dir.filePath(QStringLiteral("settings")).toUtf8());
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;

    const QString path = dir.filePath(QStringLiteral("contacts.vdb"));
    host::createSampleDatabase(path, 50);
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    for (int id = database.Contact().Fields().Count(); id < Fields; ++id)
        database.fields().addField(QStringLiteral("Custom %1").arg(id), qint16(1 + id % 2 * 4), 0);

    const QString settingsFolder = dir.filePath(QStringLiteral("buttons"));
    QDir().mkpath(settingsFolder);
    ConsolePlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), dir.path());
    session.setSettingsFile(settingsFolder + QStringLiteral("/valdora.ini"));
    QStringList files;
    for (int i = 0; i < Buttons; ++i) {
        const QString name = QStringLiteral("~%1.ini").arg(100 + i);
        const ButtonFile button = ButtonFile::inFolder(session.ini(), session.buttonFolder(), name);
        bool written = button.write(ButtonKey::Name, QStringLiteral("Button %1").arg(i)) &&
                       button.write(ButtonKey::Type, QString::number(i % 7)) &&
                       button.write(ButtonKey::Target, QStringLiteral("Notes"));
        // The opened button: five conditions on the page and more in the dialog.
        for (int row = 0; written && i == 0 && row < 8; ++row)
            written = button.write(QStringLiteral("Cond%1").arg(row), QStringLiteral("1")) &&
                      button.write(QStringLiteral("Field%1").arg(row),
                                   QStringLiteral("Custom %1").arg(100 + row)) &&
                      button.write(QStringLiteral("Operator%1").arg(row), QStringLiteral("0")) &&
                      button.write(QStringLiteral("Value%1").arg(row), QString::number(row));
        if (!written) {
            std::fprintf(stderr, "bench_editor: cannot write %s\n", qPrintable(button.path()));
            return 1;
        }
        files << name;
    }
    ButtonFile::inFolder(session.ini(), session.buttonFolder(), files.first()).write(ButtonKey::Type, "1");

    BenchHost editorHost(database, files);
    NoScreens screens;
    std::vector<double> emptyTimes;
    std::vector<double> editorTimes;
    for (int i = 0; i < runs; ++i) {
        const std::optional<double> empty = toFirstPaint("an empty QDialog", [] {
            auto dialog = std::make_unique<QDialog>();
            dialog->resize(200, 100);
            return dialog;
        });
        const std::optional<double> opened = toFirstPaint("the editor", [&] {
            return std::make_unique<editor::SettingsWindow>(session, editorHost, screens, files.first());
        });
        if (!empty || !opened)
            return 1;
        emptyTimes.push_back(*empty);
        editorTimes.push_back(*opened);
    }

    const double emptyMedian = median(emptyTimes);
    const double editorMedian = median(editorTimes);
    std::printf("runs: %d, fields: %d, buttons: %d\n", runs, database.Contact().Fields().Count(), Buttons);
    std::printf("empty QDialog to first paint median: %.1f ms\n", emptyMedian);
    std::printf("editor opened to first paint median: %.1f ms\n", editorMedian);
    std::printf("editor over empty dialog:            %.1f ms (target at most 150 ms)\n",
                editorMedian - emptyMedian);
    return 0;
}
