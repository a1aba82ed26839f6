#pragma once

#include "HostTypes.h"

namespace valdora::host {

/// The users of the database, numbered from 1.
class UserList {
public:
    virtual ~UserList() = default;

    virtual qint16 Count(Where where = Where::current()) const = 0;
    /// The unique id of user `index` (1..Count).
    virtual QString UniqueID(qint16 index, Where where = Where::current()) const = 0;
    /// The name of user `index` (1..Count).
    virtual QString Name(qint16 index, Where where = Where::current()) const = 0;
};

} // namespace valdora::host
