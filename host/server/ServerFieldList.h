#pragma once

#include "ServerConnection.h"
#include "host/common/CachedFieldList.h"

namespace valdora::host::server {

/// The field definitions of a database on the server, kept in memory; triggers are read from the
/// server each time, for another workstation may have changed them.
class ServerFieldList final : public CachedFieldList {
public:
    explicit ServerFieldList(ServerConnection& connection, Where where = Where::current());

private:
    Fields readFields(Where where) const override;
    QString readTrigger(FieldId id, Trigger trigger, Where where) const override;
    void writeTrigger(FieldId id, Trigger trigger, const QString& text, Where where) override;
    FieldId storeField(const QString& name, qint16 type, qint16 decimals, Where where) override;

    ServerConnection& m_connection;
};

} // namespace valdora::host::server
