#pragma once

#include "CachedFieldList.h"
#include "host/DatabaseTools.h"

#include <QHash>

#include <functional>

/// Every contact's unique id, company, contact name and record, in any order: a string literal, so
/// that a statement can add its own conditions and still be kept prepared by its text.
#define VALDORA_ALL_CONTACTS_SQL                                                                             \
    "SELECT c.uid, coalesce(a.value, ''), coalesce(b.value, ''), c.record FROM contacts c "                  \
    "LEFT JOIN vals a ON a.record = c.record AND a.field = 25 "                                              \
    "LEFT JOIN vals b ON b.record = c.record AND b.field = 26"

namespace valdora::host {

class DefaultSort;

/// The contact object's part that every database kind shares: the selection and the walk through
/// it, the current record with its values read once, the values staged for the next Update, and the
/// checks and steps of adding and importing contacts. The kind adds its dialect, its record locks
/// and its writes through the hooks below.
class CachedContactTable : public ToolContactTable {
public:
    FieldList& Fields() override { return m_fields; }
    const FieldList& Fields() const override { return m_fields; }

    void SetDataEx(const QList<FieldId>& ids, const QStringList& values,
                   Where where = Where::current()) override;
    QString lastWriteFailure() const override { return m_lastWriteFailure; }

    void Query(const QString& filter, Where where = Where::current()) override;
    void LoadLookUpQuery(const QString& file, Where where = Where::current()) override;
    void MoveFirst(Where where = Where::current()) override;
    void MoveNext(Where where = Where::current()) override;
    bool isEOF(Where where = Where::current()) const override;

    QString addContact(const QHash<FieldId, QString>& values, Where where = Where::current()) override;
    int importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                      Where where = Where::current()) override;
    bool exists(const ContactId& id, Where where = Where::current()) const override;
    const QStringList& selection() const override { return m_selection; }
    bool lockRecord(const ContactId& id, Where where = Where::current()) override;

    /// The values of the contact numbered `index` (from 0) of a bulk load, made as it is written.
    using ContactSource = std::function<QHash<FieldId, QString>(int index)>;
    /// Adds `count` contacts in one transaction (sample data, bulk loads), each with the values the
    /// source gives (no dates added), without holding them all in memory; returns how many.
    virtual int addContacts(int count, const ContactSource& contact, Where where = Where::current());

protected:
    /// One contact of the whole selection as read, before it is sorted.
    struct ContactRow {
        QString uid;
        QString company;
        QString contact;
        qint64 record;
    };
    /// What Query reads: every contact with its company and contact name, in any order.
    static constexpr char AllContactsSql[] = VALDORA_ALL_CONTACTS_SQL;

    /// `location` names the database in messages.
    CachedContactTable(QString location, CachedFieldList& fields);

    /// Makes the contact of that record current (0: none); what the previous one staged is dropped,
    /// and its lock.
    virtual void moveTo(const ContactId& id, qint64 record);
    /// Settles a Goto that is not looked up yet (a kind that looks up lazily).
    virtual void settle(Where) const {}
    /// Gives back the lock of the record this object holds, if any.
    virtual void releaseLock() = 0;
    /// The record of a contact; 0 when no contact has that id.
    virtual qint64 recordOf(const ContactId& id, Where where) const = 0;
    /// The records of those contacts; contacts that are gone are missing.
    virtual QHash<ContactId, qint64> recordsOf(const QList<ContactId>& ids, Where where) const;
    /// True when another program (or workstation) holds the record's lock.
    virtual bool heldByOther(qint64 record, Where where) const = 0;
    /// Every contact, for the default sortContacts (AllContactsSql in the kind's hands); a kind that
    /// reads into the sort itself needs not give them.
    virtual QList<ContactRow> readContacts(Where) const { return {}; }
    /// Every contact with its company and contact name into the sort, for Query; by default from
    /// readContacts. A kind that can reads each row straight in, without a row of three texts
    /// made and dropped for each contact.
    virtual void sortContacts(DefaultSort& sort, Where where) const;
    /// Every contact in the default order, read so from a database that keeps that order, without
    /// sorting them here; false (and nothing read) when it cannot, and they are sorted here.
    virtual bool readSorted(QStringList& /*ids*/, QList<qint64>& /*records*/, Where) const { return false; }
    /// Called once a selection was made or read from a lookup.
    virtual void selectionMade() {}
    /// Runs `work` in one write transaction of the database: all or nothing.
    virtual void inTransaction(const std::function<void()>& work, Where where) = 0;
    /// A new contact's unique id (inside a transaction).
    virtual QString newUniqueId(Where where) = 0;
    /// Adds a contact without values; returns its record.
    virtual qint64 insertContact(const ContactId& uid, Where where) = 0;
    /// Writes these values into a record (a blank value removes the field's value; a field given
    /// twice gets its last value).
    virtual void writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values,
                             Where where) = 0;

    /// The values a record holds now, for currentValues.
    virtual QHash<FieldId, QString> readValues(qint64 record, Where where) const = 0;

    /// The current record's values, read on first use after Goto or Edit.
    const QHash<FieldId, QString>& currentValues(Where where) const;
    /// Keeps a value just written into the current record in its values, when they are read: a blank
    /// value is no value.
    void keepWritten(FieldId field, const QString& value);
    /// Throws unless there is a current record to write.
    void requireCurrent(const char* doing, Where where) const;
    /// The selection's ids with their records.
    void setSelection(QStringList ids, QList<qint64> records);

    static constexpr FieldId CreateDate = 2;
    static constexpr FieldId EditDate = 3;

    QString m_location;
    CachedFieldList& m_fields;
    QStringList m_selection;
    /// The record of each contact of the selection, as it was when the selection was made: moving
    /// through it needs no lookup. A contact deleted since reads as empty, and its write fails, as
    /// after a Goto.
    QList<qint64> m_selectionRecords;
    qsizetype m_position = 0;
    mutable qint64 m_current = 0;
    mutable QString m_currentId;
    QString m_lastWriteFailure;
    // Read lazily: a run makes a record current, takes its lock and only then reads it, and the read
    // before the lock would be wasted (and stale).
    mutable QHash<FieldId, QString> m_values;
    mutable bool m_valuesLoaded = false;
    QList<QPair<FieldId, QString>> m_staged;
    qint64 m_locked = 0;
};

} // namespace valdora::host
