#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt strings in test failures (GoogleTest finds these by argument-dependent lookup).

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *os << (i ? ", " : "");
        PrintTo(texts[i], os);
    }
    *os << '}';
}

// Places and frames of windows, readable in failures and in messages streamed into expectations.

inline std::ostream& operator<<(std::ostream& os, const QPoint& point)
{
    return os << '(' << point.x() << ", " << point.y() << ')';
}

inline std::ostream& operator<<(std::ostream& os, const QRect& rect)
{
    return os << rect.width() << 'x' << rect.height() << " at " << rect.topLeft();
}
