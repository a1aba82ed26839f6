#pragma once

#include "Database.h"

#include <QHash>

namespace valdora::host {

/// What the host program's own tools (its commands, its field dialog, sample data) do with a database
/// beyond the interface that the suite's programs use. Each database kind implements it.
class ToolFieldList : public FieldList {
public:
    /// Adds a user field at the lowest free id a button may write to; returns its id.
    virtual FieldId addField(const QString& name, qint16 type, qint16 decimals,
                             Where where = Where::current()) = 0;
    /// The ids in ascending order.
    virtual QList<FieldId> ids() const = 0;
    /// The id of a field given by name or by number; throws (naming it) when there is none.
    virtual FieldId resolve(const QString& nameOrId, Where where = Where::current()) const = 0;
};

class ToolUserList : public UserList {
public:
    /// Adds a user (with a password, or none when it is empty); returns the user's unique id.
    virtual QString addUser(const QString& name, const QString& password, Where where = Where::current()) = 0;
    /// The stored spelling of a user's name, matched without regard to case; "" when there is none.
    virtual QString storedName(const QString& name) const = 0;
};

class ToolContactTable : public ContactTable {
public:
    /// A new contact with these values (field 1 excluded), written in one transaction; returns its id.
    virtual QString addContact(const QHash<FieldId, QString>& values, Where where = Where::current()) = 0;
    /// Writes imported rows in one transaction, all or nothing: a row whose field-1 column names a
    /// contact updates it (or makes it with that id), a row without one makes a new contact. Fails,
    /// writing nothing, when a named contact is being edited by another program. Returns the row count.
    virtual int importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                              Where where = Where::current()) = 0;
    /// True when a contact has that id.
    virtual bool exists(const ContactId& id, Where where = Where::current()) const = 0;
    /// The ids of the current selection, in order.
    virtual const QStringList& selection() const = 0;
    /// Makes the contact current and takes its lock; false when another holder has it.
    virtual bool lockRecord(const ContactId& id, Where where = Where::current()) = 0;
};

class ToolDatabase : public Database {
public:
    virtual ToolContactTable& contacts(Where where = Where::current()) = 0;
    virtual ToolFieldList& fields(Where where = Where::current()) = 0;
    virtual ToolUserList& users(Where where = Where::current()) = 0;
};

} // namespace valdora::host
