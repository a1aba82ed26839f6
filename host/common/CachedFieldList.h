#pragma once

#include "host/DatabaseTools.h"

#include <QHash>

namespace valdora::host {

/// The field definitions of one database, kept in memory: every lookup is answered from them. A
/// database kind reads and writes them (and the triggers, which are read each time, for another
/// program may have changed them) through the hooks below.
class CachedFieldList : public ToolFieldList {
public:
    qint16 Count(Where where = Where::current()) const override;
    bool Exists(const QString& name, Where where = Where::current()) const override;
    FieldId FieldID(const QString& name, Where where = Where::current()) const override;
    FieldId Id(qint16 number, Where where = Where::current()) const override;
    qint16 Type(FieldId id, Where where = Where::current()) const override;
    qint16 DecimalPlaces(FieldId id, Where where = Where::current()) const override;
    QString Label(FieldId id, Where where = Where::current()) const override;
    QString EntryTrigger(FieldId id, Where where = Where::current()) const override;
    void EntryTrigger(FieldId id, const QString& text, Where where = Where::current()) override;
    QString ExitTrigger(FieldId id, Where where = Where::current()) const override;
    void ExitTrigger(FieldId id, const QString& text, Where where = Where::current()) override;

    /// Adds a user field at the lowest free id a button may write to; returns its id. A name that is
    /// blank, padded, a number or taken, and a type that is none, are refused before anything is written.
    FieldId addField(const QString& name, qint16 type, qint16 decimals,
                     Where where = Where::current()) override;
    /// The ids in ascending order.
    QList<FieldId> ids() const override;
    /// The id of a field given by name or by number; throws (naming it) when there is none.
    FieldId resolve(const QString& nameOrId, Where where = Where::current()) const override;
    /// True when a field with that id exists.
    bool has(FieldId id) const { return m_fields.contains(id); }

protected:
    struct Field {
        QString name;
        qint16 type;
        qint16 decimals;
    };
    using Fields = QHash<FieldId, Field>;
    enum class Trigger { Entry, Exit };

    /// `location` names the database in messages.
    explicit CachedFieldList(QString location);
    /// Reads the definitions again (the derived constructor reads them first).
    void reload(Where where) { m_fields = readFields(where); }
    /// The id a new field of that name gets, from the definitions as last read: the lowest free one
    /// a button may write to. Throws when the name is taken or no id is free.
    FieldId freeId(const QString& name, Where where) const;

    /// Every field definition as the database holds it now.
    virtual Fields readFields(Where where) const = 0;
    /// The trigger text as the database holds it now.
    virtual QString readTrigger(FieldId id, Trigger trigger, Where where) const = 0;
    virtual void writeTrigger(FieldId id, Trigger trigger, const QString& text, Where where) = 0;
    /// Writes a new field whose name and type are checked: under the database's own write lock it
    /// reloads the definitions, takes freeId and writes the field. Returns the id.
    virtual FieldId storeField(const QString& name, qint16 type, qint16 decimals, Where where) = 0;

private:
    const Field& field(FieldId id, Where where) const;

    QString m_location;
    Fields m_fields;
};

} // namespace valdora::host
