#pragma once

#include "core/Failure.h"

namespace valdora::host::app {

/// Wrong arguments to a command: reported with the command's usage, exit code 2.
class UsageError : public Failure {
public:
    explicit UsageError(const QString& description, Where where = Where::current())
        : Failure(int(ErrorNumber::InvalidProcedureCall), description, where)
    {}
};

} // namespace valdora::host::app
