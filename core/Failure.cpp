#include "Failure.h"

#include <array>
#include <utility>

namespace valdora {

namespace {

struct Description {
    ErrorNumber number;
    const char* text;
};

constexpr std::array Descriptions{
    Description{ErrorNumber::InvalidProcedureCall, "Invalid procedure call or argument"},
    Description{ErrorNumber::Overflow, "Overflow"},
    Description{ErrorNumber::OutOfMemory, "Out of memory"},
    Description{ErrorNumber::SubscriptOutOfRange, "Subscript out of range"},
    Description{ErrorNumber::TypeMismatch, "Type mismatch"},
    Description{ErrorNumber::FileNotFound, "File not found"},
    Description{ErrorNumber::FileAlreadyOpen, "File already open"},
    Description{ErrorNumber::DiskFull, "Disk full"},
    Description{ErrorNumber::PermissionDenied, "Permission denied"},
    Description{ErrorNumber::PathFileAccessError, "Path/File access error"},
    Description{ErrorNumber::PathNotFound, "Path not found"},
    Description{ErrorNumber::ObjectNotSet, "Object variable or With block variable not set"},
    Description{ErrorNumber::CannotCreateObject, "ActiveX component can't create object"},
    Description{ErrorNumber::AutomationError, "Automation error"},
};

} // namespace

QString standardDescription(ErrorNumber number)
{
    for (const auto& row : Descriptions) {
        if (row.number == number)
            return QString::fromLatin1(row.text);
    }
    return QStringLiteral("Application-defined or object-defined error");
}

Failure::Failure(int number, QString description, Where where)
    : m_number(number), m_description(std::move(description)), m_line(static_cast<int>(where.line())),
      m_what(QStringLiteral("Error %1: %2").arg(QString::number(number), m_description).toUtf8())
{}

Failure::Failure(ErrorNumber number, Where where)
    : Failure(static_cast<int>(number), standardDescription(number), where)
{}

Failure::Failure(ErrorNumber number, QString description, Where where)
    : Failure(static_cast<int>(number), std::move(description), where)
{}

} // namespace valdora
