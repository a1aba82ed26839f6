#pragma once

#include "ServerConnection.h"
#include "host/DatabaseTools.h"

#include <QHash>

namespace valdora::host::server {

/// The field definitions of a database on the server, kept in memory; triggers are read from the
/// server each time, for another workstation may have changed them.
class ServerFieldList final : public ToolFieldList {
public:
    explicit ServerFieldList(ServerConnection& connection, Where where = Where::current());

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

    FieldId addField(const QString& name, qint16 type, qint16 decimals,
                     Where where = Where::current()) override;
    QList<FieldId> ids() const override;
    FieldId resolve(const QString& nameOrId, Where where = Where::current()) const override;
    bool has(FieldId id) const { return m_fields.contains(id); }

private:
    struct Field {
        QString name;
        qint16 type;
        qint16 decimals;
    };
    void load(Where where);
    const Field& field(FieldId id, Where where) const;

    ServerConnection& m_connection;
    QHash<FieldId, Field> m_fields;
};

} // namespace valdora::host::server
