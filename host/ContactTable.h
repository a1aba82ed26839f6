#pragma once

#include "FieldList.h"
#include "HostTypes.h"

#include <QString>

namespace valdora::host {

/// The contact object: a selection of contacts, a current record, record locks and writes.
class ContactTable {
public:
    virtual ~ContactTable() = default;

    /// The field definitions.
    virtual FieldList& Fields() = 0;
    virtual const FieldList& Fields() const = 0;

    /// Makes the contact with that id the current record without changing the selection. An id that
    /// names no contact leaves no current record: Data then returns "".
    virtual void Goto(const ContactId& id, Where where = Where::current()) = 0;
    /// The text of a field of the current record; "" when the record holds none.
    virtual QString Data(FieldId id, Where where = Where::current()) const = 0;
    /// True while another process holds the current record's lock.
    virtual bool isLocked(Where where = Where::current()) const = 0;
    /// Takes the current record's lock for this process, unless another process holds it. Data then
    /// reads the record as it is once locked, whatever another process wrote before.
    virtual void Edit(Where where = Where::current()) = 0;
    /// 1 when this process holds the current record's lock, else 0.
    virtual int LockLevel(Where where = Where::current()) const = 0;
    /// Stages values for fields of the current record (two lists of equal length, paired by position).
    virtual void SetDataEx(const QList<FieldId>& ids, const QStringList& values,
                           Where where = Where::current()) = 0;
    /// Commits the staged values in one transaction and releases the lock. Returns the record's id,
    /// or something else (as a rule "") when the commit did not go through.
    virtual QString Update(Where where = Where::current()) = 0;
    /// Why the last Update did not go through when the database itself failed (a full disk, a damaged
    /// file), as opposed to a record held elsewhere; empty otherwise. Every later write would fail the
    /// same way, so a run stops on it instead of going on.
    virtual QString lastWriteFailure() const { return {}; }

    /// Selects contacts: "" selects all in the default sort (company, then contact name).
    virtual void Query(const QString& filter, Where where = Where::current()) = 0;
    /// Selects the contacts listed in a lookup file, in the file's order.
    virtual void LoadLookUpQuery(const QString& file, Where where = Where::current()) = 0;
    /// Walks the selection: the first record becomes current.
    virtual void MoveFirst(Where where = Where::current()) = 0;
    /// The next record of the selection becomes current (or EOF).
    virtual void MoveNext(Where where = Where::current()) = 0;
    /// True after the last record of the selection (or on an empty selection).
    virtual bool isEOF(Where where = Where::current()) const = 0;
};

} // namespace valdora::host
