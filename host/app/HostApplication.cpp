#include "HostApplication.h"

#include "TriggerCommand.h"
#include "core/ProgramFolder.h"
#include "host/DatabaseLocation.h"
#include "host/HostCommand.h"
#include "host/LookupFile.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/server/ServerChangeListener.h"

#include <QFileInfo>

#include <utility>

namespace valdora::host {

namespace {

bool lookupFits(LookupMatch match, const QString& stored, const QString& wanted)
{
    switch (match) {
    case LookupMatch::All:
        return true;
    case LookupMatch::Equals:
        return stored.compare(wanted, Qt::CaseInsensitive) == 0;
    case LookupMatch::Contains:
        return stored.contains(wanted, Qt::CaseInsensitive);
    case LookupMatch::StartsWith:
        return stored.startsWith(wanted, Qt::CaseInsensitive);
    }
    return false;
}

QString matchWord(LookupMatch match)
{
    switch (match) {
    case LookupMatch::Equals:
        return QStringLiteral("equals");
    case LookupMatch::Contains:
        return QStringLiteral("contains");
    case LookupMatch::StartsWith:
        return QStringLiteral("starts with");
    case LookupMatch::All:
        break;
    }
    return {};
}

const QString HostTitle = QStringLiteral("ContactHost");

} // namespace

namespace {

/// How long a burst of writes may pause before the contact on screen is read again.
constexpr int OutsideWriteSettleMs = 100;
/// How long announced writes are gathered before the contact on screen is read again.
constexpr int WrittenBatchMs = 50;

} // namespace

HostApplication::HostApplication(Platform& platform, QString auxCommandFile, QObject* parent)
    : QObject(parent), m_platform(platform), m_aux(std::move(auxCommandFile))
{
    m_outsideWrite.setSingleShot(true);
    m_outsideWrite.setInterval(OutsideWriteSettleMs);
    connect(&m_outsideWrite, &QTimer::timeout, this, &HostApplication::rereadContactOnScreen);
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, [this] {
        watchDatabaseFiles();
        m_outsideWrite.start();
    });
    m_writtenBatch.setSingleShot(true);
    m_writtenBatch.setInterval(WrittenBatchMs);
    connect(&m_writtenBatch, &QTimer::timeout, this, &HostApplication::takeWritten);
    // The write-ahead log is made by the first write after the database was opened.
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchDatabaseFiles();
        m_outsideWrite.start();
    });
}

void HostApplication::watchDatabaseFiles()
{
    // A database on a server has no files here; it announces its writes itself.
    if (m_path.isEmpty() || isServerLocation(m_path))
        return;
    const QFileInfo database(m_path);
    QStringList wanted{database.absolutePath()};
    for (const QString& file : {m_path, m_path + QStringLiteral("-wal")})
        if (QFileInfo::exists(file))
            wanted << file;
    const QStringList watched = m_files.files() + m_files.directories();
    for (const QString& path : wanted)
        if (!watched.contains(path))
            m_files.addPath(path);
}

void HostApplication::rereadContactOnScreen()
{
    if (!isDatabaseOpen() || m_current.isEmpty())
        return;
    // A connection that the server ended (a restart) fails its first statement and is made again
    // at the next, so a failed reading is tried once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            // Going to the same record again drops what was read of it, and keeps its lock. The
            // record is read here, where a failure is caught, not in the window's refresh.
            ContactTable& contacts = m_screen->Contact();
            contacts.Goto(m_current);
            contacts.Data(FieldNumber::Company);
            emit contactChanged();
            return;
        } catch (const Failure&) {
            // Gone meanwhile (removed by another process), or the server is away: the window
            // shows what it has.
        }
    }
}

void HostApplication::noteWritten(const QStringList& ids)
{
    if (ids.isEmpty())
        m_anyWritten = true;
    m_written.append(ids);
    // Not restarted by the next announcement: a stream of them is taken in steps.
    if (!m_writtenBatch.isActive())
        m_writtenBatch.start();
}

void HostApplication::takeWritten()
{
    const bool any = std::exchange(m_anyWritten, false);
    const QList<ContactId> ids = std::exchange(m_written, {});
    if (!isDatabaseOpen())
        return;
    if (any || ids.contains(m_current))
        rereadContactOnScreen();
    emit contactsWritten(any ? QList<ContactId>() : ids);
}

HostApplication::~HostApplication() = default;

QString HostApplication::appPath() const
{
    return programFolder();
}

void HostApplication::openDatabase(const QString& path, Where where)
{
    if (path.isEmpty()) {
        if (isDatabaseOpen() || m_lastPath.isEmpty())
            return;
        openDatabase(m_lastPath, where);
        return;
    }
    const QString location = isServerLocation(path) ? path : QFileInfo(path).absoluteFilePath();
    auto screen = createDatabase();
    screen->OpenEx(location, where);
    auto walk = createDatabase();
    walk->OpenEx(location, where);
    if (isDatabaseOpen())
        closeDatabase();
    m_screen = std::move(screen);
    m_walk = std::move(walk);
    m_path = m_screen->GetDatabasePath(where);
    m_lastPath = m_path;
    watchDatabaseFiles();
    if (isServerLocation(location)) {
        m_changes = std::make_unique<server::ServerChangeListener>(location);
        connect(m_changes.get(), &server::ServerChangeListener::contactsWritten, this,
                &HostApplication::noteWritten);
    }
    m_lookup = selectAll(where);
    m_lookupDescription = QStringLiteral("All contacts");
    m_current = m_lookup.value(0);
    if (!m_current.isEmpty())
        m_screen->Contact(where).Goto(m_current, where);
    emit databaseOpened();
    emit lookupChanged();
    emit contactChanged();
}

void HostApplication::closeDatabase()
{
    if (!isDatabaseOpen())
        return;
    // What the user typed is saved, as leaving the field would; a trigger is not started for a
    // database that is going away.
    try {
        commitTyping();
    } catch (const Failure& failure) {
        tell(QStringLiteral("The field being edited could not be saved: %1").arg(failure.description()));
    }
    m_fieldOnScreen = 0;
    m_typed.reset();
    m_screen->Close();
    m_walk->Close();
    m_screen.reset();
    m_walk.reset();
    m_outsideWrite.stop();
    m_changes.reset();
    m_writtenBatch.stop();
    m_written.clear();
    m_anyWritten = false;
    if (!m_files.files().isEmpty())
        m_files.removePaths(m_files.files());
    if (!m_files.directories().isEmpty())
        m_files.removePaths(m_files.directories());
    m_path.clear();
    m_current.clear();
    m_lookup.clear();
    m_lookupDescription.clear();
    emit databaseClosed();
    emit lookupChanged();
    emit contactChanged();
}

void HostApplication::close()
{
    if (m_closing)
        return;
    m_closing = true;
    emit userWantsToClose();
    closeDatabase();
    emit quitRequested();
}

Database& HostApplication::screen(Where where) const
{
    if (!m_screen)
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("The host has no database open"), where);
    return *m_screen;
}

QList<ContactId> HostApplication::selectAll(Where where)
{
    ContactTable& contacts = m_walk->Contact(where);
    contacts.Query(QString(), where);
    QList<ContactId> ids;
    for (contacts.MoveFirst(where); !contacts.isEOF(where); contacts.MoveNext(where))
        ids.append(contacts.Data(FieldNumber::UniqueId, where));
    return ids;
}

void HostApplication::show(const ContactId& id, Where where)
{
    ContactTable& contacts = screen(where).Contact(where);
    leaveField(where);
    contacts.Goto(id, where);
    if (contacts.Data(FieldNumber::UniqueId, where) != id) {
        if (!m_current.isEmpty())
            contacts.Goto(m_current, where);
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact has the id \"%1\"").arg(id),
                          where);
    }
    m_current = id;
    emit contactChanged();
}

void HostApplication::move(int step, Where where)
{
    const qsizetype at = m_lookup.indexOf(m_current);
    const qsizetype next = at < 0 ? 0 : at + step;
    if (next >= 0 && next < m_lookup.size())
        show(m_lookup.at(next), where);
}

QString HostApplication::contactLabel(const ContactId& id, Where where) const
{
    screen(where);
    ContactTable& contacts = m_walk->Contact(where);
    contacts.Goto(id, where);
    return QStringLiteral("%1 - %2").arg(contacts.Data(FieldNumber::Company, where),
                                         contacts.Data(FieldNumber::Contact, where));
}

QString HostApplication::sortDescription()
{
    return QStringLiteral("Company, Contact");
}

void HostApplication::lookup(LookupMatch match, const QString& field, const QString& value, Where where)
{
    screen(where);
    const FieldId id = match == LookupMatch::All ? FieldId(0) : fieldId(field, where);
    ContactTable& contacts = m_walk->Contact(where);
    contacts.Query(QString(), where);
    QList<ContactId> ids;
    for (contacts.MoveFirst(where); !contacts.isEOF(where); contacts.MoveNext(where)) {
        if (match == LookupMatch::All || lookupFits(match, contacts.Data(id, where), value))
            ids.append(contacts.Data(FieldNumber::UniqueId, where));
    }
    leaveField(where);
    m_lookup = ids;
    m_lookupDescription =
        match == LookupMatch::All
            ? QStringLiteral("All contacts")
            : QStringLiteral("%1 %2 \"%3\"").arg(fields(where).Label(id), matchWord(match), value);
    emit lookupChanged();
    if (!m_lookup.isEmpty())
        show(m_lookup.first(), where);
}

FieldId HostApplication::fieldId(const QString& name, Where where) const
{
    const FieldId id = screen(where).Contact(where).Fields().FieldID(name, where);
    if (id < 0)
        throw HostFailure(HostError::UnknownField,
                          QStringLiteral("The database has no field \"%1\"").arg(name), where);
    return id;
}

FieldList& HostApplication::fields(Where where)
{
    return screen(where).Contact(where).Fields();
}

QList<FieldId> HostApplication::fieldIds(Where where) const
{
    const FieldList& list = screen(where).Contact(where).Fields();
    const qint16 count = list.Count(where);
    QList<FieldId> ids;
    for (qint32 number = 1; number <= 32767 && ids.size() < count; ++number)
        if (list.Id(qint16(number), where) == number)
            ids.append(qint16(number));
    return ids;
}

std::optional<QString> HostApplication::field(FieldId id, Where where) const
{
    const ContactTable& contacts = screen(where).Contact(where);
    if (contacts.Fields().Id(id, where) != id)
        return std::nullopt;
    return m_current.isEmpty() ? QString() : contacts.Data(id, where);
}

void HostApplication::takeLock(Where where)
{
    ContactTable& contacts = screen(where).Contact(where);
    if (contacts.isLocked(where))
        throw HostFailure(HostError::RecordLocked,
                          QStringLiteral("The contact \"%1\" is being edited by another user").arg(m_current),
                          where);
    contacts.Edit(where);
    if (contacts.LockLevel(where) != 1)
        throw HostFailure(HostError::RecordLocked,
                          QStringLiteral("The contact \"%1\" could not be locked for editing").arg(m_current),
                          where);
}

void HostApplication::writeFields(const QList<FieldId>& ids, const QStringList& values, Where where)
{
    if (m_current.isEmpty())
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact is on screen"), where);
    ContactTable& contacts = screen(where).Contact(where);
    takeLock(where);
    contacts.SetDataEx(ids, values, where);
    const QString written = contacts.Update(where);
    // The commit released the record; what the user is still typing keeps it held.
    if (m_typed)
        takeLock(where);
    if (written != m_current)
        throw HostFailure(HostError::RecordLocked,
                          QStringLiteral("The contact \"%1\" was not saved").arg(m_current), where);
    emit contactChanged();
}

void HostApplication::setField(FieldId id, const QString& value, Where where)
{
    if (!field(id, where))
        throw HostFailure(HostError::ViewFieldUnknown, QStringLiteral("The view has no field %1").arg(id),
                          where);
    if (isSystemField(id))
        throw HostFailure(ErrorNumber::PermissionDenied,
                          QStringLiteral("The field %1 cannot be changed").arg(id), where);
    writeFields({id}, {value}, where);
}

void HostApplication::enterField(FieldId id, Where where)
{
    if (m_fieldOnScreen == id)
        return;
    if (!field(id, where))
        throw HostFailure(HostError::UnknownField, QStringLiteral("The database has no field %1").arg(id),
                          where);
    if (m_current.isEmpty())
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact is on screen"), where);
    leaveField(where);
    // Being in a field changes nothing yet: the record is locked once the user types into it.
    m_fieldOnScreen = id;
    emit fieldOnScreenChanged();
    runTrigger(id, fields(where).EntryTrigger(id, where), QStringLiteral("entry"));
}

void HostApplication::leaveField(Where where)
{
    if (m_fieldOnScreen <= 0)
        return;
    const FieldId id = m_fieldOnScreen;
    commitTyping(where);
    m_fieldOnScreen = 0;
    emit fieldOnScreenChanged();
    runTrigger(id, fields(where).ExitTrigger(id, where), QStringLiteral("exit"));
}

void HostApplication::type(FieldId id, const QString& value, Where where)
{
    if (isSystemField(id))
        throw HostFailure(ErrorNumber::PermissionDenied,
                          QStringLiteral("The field %1 cannot be changed").arg(id), where);
    enterField(id, where);
    // The first change holds the record until it is committed, so that no other program writes
    // under what the user is typing.
    if (!m_typed)
        takeLock(where);
    m_typed = value;
    emit fieldOnScreenChanged();
}

void HostApplication::commitTyping(Where where)
{
    if (!m_typed || m_fieldOnScreen <= 0)
        return;
    const QString value = *m_typed;
    m_typed.reset();
    writeFields({m_fieldOnScreen}, {value}, where);
    emit fieldOnScreenChanged();
}

void HostApplication::command(int number, Where where)
{
    switch (number) {
    case host::HostCommand::CommitTyping:
        commitTyping(where);
        return;
    case host::HostCommand::Close:
        close();
        return;
    default:
        throw HostFailure(ErrorNumber::InvalidProcedureCall,
                          QStringLiteral("The host has no command %1").arg(number), where);
    }
}

void HostApplication::saveCurrentLookup(const QString& file, Where where)
{
    screen(where);
    writeLookupFile(file, m_lookup, where);
}

void HostApplication::runTrigger(FieldId id, const QString& text, const QString& kind)
{
    if (text.isEmpty())
        return;
    const auto command = resolveTrigger(text);
    if (!command) {
        tell(QStringLiteral("The %1 trigger of the field \"%2\" names no program that exists: %3")
                 .arg(kind, fields().Label(id), text));
        return;
    }
    if (command->macro) {
        if (!m_macroTold)
            tell(
                QStringLiteral("Host macros (.mpr) cannot be run by this host; such triggers are skipped: %1")
                    .arg(text));
        m_macroTold = true;
        return;
    }
    ProgramStart start;
    start.program = command->program;
    if (!command->arguments.isEmpty())
        start.arguments = QStringList{command->arguments};
    start.workingFolder = QFileInfo(command->program).absolutePath();
    if (!m_platform.startProgram(start))
        tell(QStringLiteral("The %1 trigger of the field \"%2\" could not start %3")
                 .arg(kind, fields().Label(id), command->program));
}

bool HostApplication::startAuxCommand(const AuxCommand& command)
{
    // Callers pass the program and its folder first; take whichever of the two names the program.
    const QString first = command.texts.value(0);
    const QString second = command.texts.value(1);
    const bool firstIsProgram = QFileInfo(first).isFile();
    ProgramStart start;
    start.program = firstIsProgram ? first : second;
    const QString folder = firstIsProgram ? second : first;
    start.workingFolder = QFileInfo(folder).isDir() ? folder : QFileInfo(start.program).absolutePath();
    if (QFileInfo(start.program).isFile() && m_platform.startProgram(start))
        return true;
    tell(QStringLiteral("The command \"%1\" could not start its program \"%2\"")
             .arg(command.name, start.program));
    return false;
}

void HostApplication::tell(const QString& text)
{
    m_platform.showMessage({text, HostTitle, MessageButtons::Ok, MessageIcon::Exclamation, 0});
}

} // namespace valdora::host
