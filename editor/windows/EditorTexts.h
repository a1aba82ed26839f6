#pragma once

#include <QString>
#include <QStringList>

// The editor's texts that are not rows of the message table (they read the same in every language)
// and the fixed entries of its lists. Each is spelled here once.
namespace valdora::editor::texts {

/// The position boxes of the field and text parts (0: not used), and of the number part.
inline const QStringList OptionalPositions{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                           QStringLiteral("3")};
inline const QStringList NumberPositions{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
inline const QStringList AddSubtractOperators{QStringLiteral(" +"), QStringLiteral(" -")};
inline const QStringList MultiplyDivideOperators{QStringLiteral(" x"), QStringLiteral(" /")};
inline const QStringList NowOperators{QStringLiteral("plus"), QStringLiteral("minus")};

} // namespace valdora::editor::texts
