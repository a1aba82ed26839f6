#pragma once

#include "Connection.h"
#include "host/DatabaseTools.h"

#include <QHash>

namespace valdora::host::embedded {

/// The field definitions of one database, kept in memory (they change only through addField here).
class EmbeddedFieldList final : public ToolFieldList {
public:
    explicit EmbeddedFieldList(Connection& connection, Where where = Where::current());

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

    /// Adds a user field at the lowest free id a button may write to; returns its id.
    FieldId addField(const QString& name, qint16 type, qint16 decimals,
                     Where where = Where::current()) override;
    /// The ids in ascending order.
    QList<FieldId> ids() const override;
    /// The id of a field given by name or by number; throws (naming it) when there is none.
    FieldId resolve(const QString& nameOrId, Where where = Where::current()) const override;
    /// True when a field with that id exists.
    bool has(FieldId id) const { return m_fields.contains(id); }

private:
    struct Field {
        QString name;
        qint16 type;
        qint16 decimals;
    };
    void load(Where where);
    const Field& field(FieldId id, Where where) const;
    QString trigger(FieldId id, bool entry, Where where) const;
    void setTrigger(FieldId id, bool entry, const QString& text, Where where);

    Connection& m_connection;
    QHash<FieldId, Field> m_fields;
};

} // namespace valdora::host::embedded
