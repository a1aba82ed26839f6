#pragma once

#include <QString>

#include <exception>
#include <source_location>

namespace valdora {

/// Where a failing statement stands; host calls and conversions take it as a defaulted last argument,
/// so that a failure names the line of the routine that made the call.
using Where = std::source_location;

/// Error numbers of the failures we raise, in the numbering users of the platform know.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    FileNotFound = 53,
    FileAlreadyOpen = 55,
    DiskFull = 61,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    PathNotFound = 76,
    ObjectNotSet = 91,
    CannotCreateObject = 429,
    AutomationError = 440,
};

/// The description that goes with a number of ErrorNumber ("Type mismatch", "File not found", ...).
QString standardDescription(ErrorNumber number);

/// An unexpected failure inside a named routine: thrown where it happens, caught by the routine's
/// trap, which reports it (see ErrorReporter) and returns what the routine holds.
class Failure : public std::exception {
public:
    Failure(int number, QString description, Where where = Where::current());
    /// A failure with the standard description of its number.
    explicit Failure(ErrorNumber number, Where where = Where::current());
    Failure(ErrorNumber number, QString description, Where where = Where::current());

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    /// Source line of the failing statement (0 when unknown).
    int line() const { return m_line; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    int m_line;
    QByteArray m_what;
};

} // namespace valdora
