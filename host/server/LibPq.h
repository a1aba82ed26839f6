#pragma once

#include "core/Failure.h"

#include <libpq-fe.h>

namespace valdora::host::server {

// The libpq functions the server database calls.
#define VALDORA_LIBPQ_FUNCTIONS(X)                                                                           \
    X(PQconninfoParse)                                                                                       \
    X(PQconninfoFree)                                                                                        \
    X(PQfreemem)                                                                                             \
    X(PQconnectdbParams)                                                                                     \
    X(PQsetNoticeProcessor)                                                                                  \
    X(PQstatus)                                                                                              \
    X(PQerrorMessage)                                                                                        \
    X(PQsocket)                                                                                              \
    X(PQconsumeInput)                                                                                        \
    X(PQnotifies)                                                                                            \
    X(PQreset)                                                                                               \
    X(PQfinish)                                                                                              \
    X(PQexec)                                                                                                \
    X(PQprepare)                                                                                             \
    X(PQexecPrepared)                                                                                        \
    X(PQenterPipelineMode)                                                                                   \
    X(PQexitPipelineMode)                                                                                    \
    X(PQsendQueryPrepared)                                                                                   \
    X(PQpipelineSync)                                                                                        \
    X(PQgetResult)                                                                                           \
    X(PQresultStatus)                                                                                        \
    X(PQresultErrorField)                                                                                    \
    X(PQresultErrorMessage)                                                                                  \
    X(PQntuples)                                                                                             \
    X(PQgetvalue)                                                                                            \
    X(PQgetlength)                                                                                           \
    X(PQgetisnull)                                                                                           \
    X(PQclear)

/// libpq's functions, taken from the library once it is loaded.
struct LibPq {
#define VALDORA_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
    VALDORA_LIBPQ_FUNCTIONS(VALDORA_LIBPQ_MEMBER)
#undef VALDORA_LIBPQ_MEMBER
};

/// libpq, loaded the first time a program reaches a server database. A program that only opens
/// database files never loads it, nor the TLS, Kerberos and LDAP libraries it brings along, which
/// together cost a bar about a quarter of its start. Throws HostFailure when libpq cannot be loaded.
const LibPq& libPq(Where where = Where::current());

} // namespace valdora::host::server
