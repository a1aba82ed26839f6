#pragma once

#include "AuxCommandStore.h"
#include "core/Platform.h"
#include "host/Database.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace valdora::host {

namespace server {
class ServerChangeListener;
}

/// How a lookup compares a field's value with the value asked for (without regard to case).
enum class LookupMatch { All, Equals, Contains, StartsWith };

/// The running host's state and everything a user or a client does with it: the open database, the
/// contact on screen, the current lookup, the field being typed in and its record lock, the field
/// triggers, the auxiliary commands, closing. The window and the local server are thin layers on it.
class HostApplication : public QObject {
    Q_OBJECT
public:
    /// `platform` shows the host's messages and starts trigger programs.
    HostApplication(Platform& platform, QString auxCommandFile, QObject* parent = nullptr);
    ~HostApplication() override;

    /// Opens a database (closing the one open); "" re-opens the last one when none is open.
    void openDatabase(const QString& path, Where where = Where::current());
    /// Closes the database: commits the field being typed in, then tells the clients.
    void closeDatabase();
    /// Closes the host as a user would: the clients hear it is closing, the database closes, then
    /// quitRequested. Once only: a later call (the window going with the host) does nothing.
    void close();
    /// True once close() has begun: the host is ending and the program with it.
    bool isClosing() const { return m_closing; }

    bool isDatabaseOpen() const { return m_screen != nullptr; }
    /// Full path of the open database ("" when none).
    QString databasePath() const { return m_path; }
    /// The host's program folder.
    QString appPath() const;

    /// The contact on screen ("" when none).
    ContactId currentId() const { return m_current; }
    /// Puts a contact on screen (leaving the field on screen first).
    void show(const ContactId& id, Where where = Where::current());
    /// Moves through the current lookup: +1 next, -1 previous.
    void move(int step, Where where = Where::current());

    /// Makes a new current lookup in the host's sort (company, then contact) and shows its first
    /// contact. `field` is a field name; it is not used for LookupMatch::All.
    void lookup(LookupMatch match, const QString& field, const QString& value,
                Where where = Where::current());
    const QList<ContactId>& lookupIds() const { return m_lookup; }
    /// How the current lookup was made, for the window ("All contacts", "Company contains "x"").
    QString lookupDescription() const { return m_lookupDescription; }
    /// "Company - Contact" of a contact of the database, for lists.
    QString contactLabel(const ContactId& id, Where where = Where::current()) const;
    /// The sort of every lookup.
    static QString sortDescription();
    /// Writes the current lookup to a lookup file.
    void saveCurrentLookup(const QString& file, Where where = Where::current());

    /// A field of the contact on screen as stored; nullopt for a field the database does not know.
    std::optional<QString> field(FieldId id, Where where = Where::current()) const;
    /// Writes a field of the contact on screen at once (a failure when another user holds it).
    void setField(FieldId id, const QString& value, Where where = Where::current());

    /// The user moves into a field: its entry trigger starts. The record is not locked for that.
    void enterField(FieldId id, Where where = Where::current());
    /// The user leaves the field on screen: the typed value is committed, the lock released, and
    /// the exit trigger starts.
    void leaveField(Where where = Where::current());
    /// The user types into a field (entering it first when it is not the field on screen); the
    /// value stays uncommitted until commitTyping or leaveField, and the record stays locked until
    /// then. A failure when another program holds the record at that moment.
    void type(FieldId id, const QString& value, Where where = Where::current());
    /// True while the contact on screen has changes the user typed and did not commit: what a
    /// run must not write under. A program's short write of the contact is no such change.
    bool hasUnsavedChanges() const { return m_typed.has_value(); }
    /// Commits what is being typed in the field on screen (HostCommand::CommitTyping).
    void commitTyping(Where where = Where::current());
    /// The field on screen (0 when none) and the text typed into it, if any.
    FieldId fieldOnScreen() const { return m_fieldOnScreen; }
    std::optional<QString> typedValue() const { return m_typed; }

    /// Carries out a host command (HostCommand.h): commits typing or closes the host.
    void command(int number, Where where = Where::current());

    /// The id of a field by name; a failure naming the field when there is none.
    FieldId fieldId(const QString& name, Where where = Where::current()) const;
    /// The open database's field definitions (a failure when none is open).
    FieldList& fields(Where where = Where::current());
    /// Every field id of the open database, in id order.
    QList<FieldId> fieldIds(Where where = Where::current()) const;
    /// True for fields the user cannot edit (the unique id).
    static bool isSystemField(FieldId id) { return id == FieldNumber::UniqueId; }

    AuxCommandStore& auxCommands() { return m_aux; }
    /// Starts an auxiliary command's program; false (and the user told) when it cannot be started.
    bool startAuxCommand(const AuxCommand& command);

signals:
    void userWantsToClose();
    void databaseClosed();
    void databaseOpened();
    /// The contact on screen changed, or one of its fields.
    void contactChanged();
    void lookupChanged();
    /// Contacts were written by another program or workstation (their ids; empty: any contact may
    /// have changed). The contact on screen is read again before this is told.
    void contactsWritten(const QList<ContactId>& ids);
    void fieldOnScreenChanged();
    void quitRequested();

private:
    /// Watches the files of the open database (again: a file replaced drops out of the watch).
    void watchDatabaseFiles();
    /// The contact on screen as the database holds it now, after a write that did not come through
    /// this host; what the user is typing stays.
    void rereadContactOnScreen();
    /// Keeps the ids a database on a server announced as written, to be taken in one go a moment later.
    void noteWritten(const QStringList& ids);
    /// Reads the contact on screen again when it was among the contacts written, and tells the rest.
    void takeWritten();
    Database& screen(Where where) const;
    void writeFields(const QList<FieldId>& ids, const QStringList& values, Where where);
    void takeLock(Where where);
    void runTrigger(FieldId id, const QString& text, const QString& kind);
    void tell(const QString& text);
    QList<ContactId> selectAll(Where where);

    Platform& m_platform;
    AuxCommandStore m_aux;
    std::unique_ptr<Database> m_screen; ///< the contact on screen: its record and its lock
    std::unique_ptr<Database> m_walk;   ///< lookups walk this one, so the screen's record stays put
    QString m_path;
    QString m_lastPath;
    ContactId m_current;
    QList<ContactId> m_lookup;
    QString m_lookupDescription;
    FieldId m_fieldOnScreen = 0;
    std::optional<QString> m_typed;
    bool m_macroTold = false;
    bool m_closing = false;
    /// The database file, its write-ahead log and their folder: another process's write (a run of the
    /// bar, an undo, another host) changes them, and the contact on screen is read again.
    QFileSystemWatcher m_files;
    /// Writes come in bursts (a run writes many contacts): one read after the burst settles.
    QTimer m_outsideWrite;
    /// A database on a server announces every write of a contact (every workstation's).
    std::unique_ptr<server::ServerChangeListener> m_changes;
    QList<ContactId> m_written;
    bool m_anyWritten = false;
    /// Announced writes are taken at most this often: a run elsewhere writes contacts in a stream
    /// that never pauses, and the window must still follow it.
    QTimer m_writtenBatch;
};

} // namespace valdora::host
