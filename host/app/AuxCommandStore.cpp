#include "AuxCommandStore.h"

#include "core/FileLock.h"
#include "settings/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace valdora::host {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool containsName(const QStringList& names, const QString& name)
{
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return sameName(n, name); });
}

QJsonArray toJson(const std::array<QStringList, AuxCommandStore::ViewCount>& placement)
{
    QJsonArray views;
    for (const QStringList& names : placement)
        views.append(QJsonArray::fromStringList(names));
    return views;
}

void fromJson(const QJsonArray& views, std::array<QStringList, AuxCommandStore::ViewCount>& placement)
{
    for (int i = 0; i < AuxCommandStore::ViewCount && i < views.size(); ++i)
        for (const QJsonValue& name : views.at(i).toArray())
            placement[size_t(i)].append(name.toString());
}

} // namespace

AuxCommandStore::AuxCommandStore(QString file) : m_file(std::move(file))
{
    load();
}

QString AuxCommandStore::defaultFile()
{
    return UserSettings().folder() + QStringLiteral("/ContactHost/auxcommands.json");
}

std::optional<AuxCommand> AuxCommandStore::find(const QString& name) const
{
    for (const AuxCommand& command : m_commands)
        if (sameName(command.name, name))
            return command;
    return std::nullopt;
}

int AuxCommandStore::add(const AuxCommand& command)
{
    if (command.name.isEmpty())
        return 1;
    const QList<AuxCommand> before = m_commands;
    m_commands.removeIf([&](const AuxCommand& c) { return sameName(c.name, command.name); });
    m_commands.append(command);
    if (save())
        return 0;
    m_commands = before;
    return 1;
}

bool AuxCommandStore::inToolbar(int view, const QString& name) const
{
    return view >= 1 && view <= ViewCount && containsName(m_toolbar[size_t(view - 1)], name);
}

bool AuxCommandStore::inToolsMenu(int view, const QString& name) const
{
    return view >= 1 && view <= ViewCount && containsName(m_toolsMenu[size_t(view - 1)], name);
}

int AuxCommandStore::placeInToolbar(int view, const QString& name, bool placed)
{
    return place(m_toolbar, view, name, placed);
}

int AuxCommandStore::placeInToolsMenu(int view, const QString& name, bool placed)
{
    return place(m_toolsMenu, view, name, placed);
}

int AuxCommandStore::place(Placement& placement, int view, const QString& name, bool placed)
{
    if (view < 1 || view > ViewCount || (placed && !exists(name)))
        return 1;
    QStringList& names = placement[size_t(view - 1)];
    const QStringList before = names;
    if (placed && !containsName(names, name))
        names.append(find(name)->name);
    if (!placed)
        names.removeIf([&](const QString& n) { return sameName(n, name); });
    if (names == before || save())
        return 0;
    names = before;
    return 1;
}

QList<AuxCommand> AuxCommandStore::resolve(const QStringList& names) const
{
    QList<AuxCommand> commands;
    for (const QString& name : names)
        if (auto command = find(name))
            commands.append(*command);
    return commands;
}

QList<AuxCommand> AuxCommandStore::toolbar(int view) const
{
    return view >= 1 && view <= ViewCount ? resolve(m_toolbar[size_t(view - 1)]) : QList<AuxCommand>{};
}

QList<AuxCommand> AuxCommandStore::toolsMenu(int view) const
{
    return view >= 1 && view <= ViewCount ? resolve(m_toolsMenu[size_t(view - 1)]) : QList<AuxCommand>{};
}

bool AuxCommandStore::save() const
{
    QJsonArray commands;
    for (const AuxCommand& command : m_commands) {
        QJsonObject object;
        object.insert(QStringLiteral("name"), command.name);
        object.insert(QStringLiteral("texts"), QJsonArray::fromStringList(command.texts));
        object.insert(QStringLiteral("flags"), command.flags);
        commands.append(object);
    }
    QJsonObject root;
    root.insert(QStringLiteral("commands"), commands);
    root.insert(QStringLiteral("toolbar"), toJson(m_toolbar));
    root.insert(QStringLiteral("toolsMenu"), toJson(m_toolsMenu));
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return false;
    return replaceFileAtomically(m_file, QJsonDocument(root).toJson());
}

void AuxCommandStore::load()
{
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    file.close();
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        // Keep the damaged file for the user rather than overwrite it with the next change.
        QFile::rename(m_file, m_file + QStringLiteral(".damaged"));
        return;
    }
    const QJsonObject root = document.object();
    for (const QJsonValue& value : root.value(QStringLiteral("commands")).toArray()) {
        const QJsonObject object = value.toObject();
        AuxCommand command;
        command.name = object.value(QStringLiteral("name")).toString();
        for (const QJsonValue& text : object.value(QStringLiteral("texts")).toArray())
            command.texts.append(text.toString());
        command.flags = object.value(QStringLiteral("flags")).toInt();
        if (!command.name.isEmpty())
            m_commands.append(command);
    }
    fromJson(root.value(QStringLiteral("toolbar")).toArray(), m_toolbar);
    fromJson(root.value(QStringLiteral("toolsMenu")).toArray(), m_toolsMenu);
}

} // namespace valdora::host
