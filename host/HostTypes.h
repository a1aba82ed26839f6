#pragma once

#include "core/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace valdora::host {

/// A field id (and a field-list index): 16-bit, as the host gives them.
using FieldId = qint16;
/// A contact's unique id: the 12-character text that field 1 of its record holds.
using ContactId = QString;

/// Field type codes that the suite treats specially; any other code is passed through as it comes.
namespace FieldType {
inline constexpr qint16 Character = 1;
inline constexpr qint16 Numeric = 5;
inline constexpr qint16 Currency = 6;
inline constexpr qint16 Date = 8;
inline constexpr qint16 Time = 9;
inline constexpr qint16 DateTime = 10;
inline constexpr qint16 User = 13;
inline constexpr qint16 Url = 15;
} // namespace FieldType

/// Well-known field ids of every database.
namespace FieldNumber {
inline constexpr FieldId UniqueId = 1;
inline constexpr FieldId RecordManager = 6;
inline constexpr FieldId Company = 25;
inline constexpr FieldId Contact = 26;
} // namespace FieldNumber

/// Error numbers of the host's failures (beyond those of ErrorNumber).
namespace HostError {
inline constexpr int NoHostRunning = 429;    ///< "ActiveX component can't create object": no host
inline constexpr int NoDatabaseOpen = 3021;  ///< no current record / no database open
inline constexpr int RecordLocked = 3260;    ///< the record is locked by another user
inline constexpr int UnknownField = 3265;    ///< item not found in this collection
inline constexpr int DatabaseFailure = 3049; ///< the database file cannot be used
inline constexpr int ViewFieldUnknown = 117; ///< the contact view's GetLastError for an unknown field
inline constexpr int WriteRefused = 3033;    ///< no permission: a change without a valid login
} // namespace HostError

/// A failed host call: raised at the call, reported by the caller's trap with the caller's line.
class HostFailure : public Failure {
public:
    using Failure::Failure;
};

} // namespace valdora::host
