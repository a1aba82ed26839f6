#pragma once

#include <QString>

#include <gtest/gtest.h>

namespace valdora::test {

/// Whether a shown failure report is the report of error `number`: reports begin "Error <n>: '"
/// (see errorReportText). A report is checked by its number as well as by where it was raised, since
/// the right routine reporting the wrong error is still a wrong report.
inline ::testing::AssertionResult reportsError(int number, const QString& report)
{
    if (report.startsWith(QStringLiteral("Error %1: '").arg(number)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the report is not error " << number << ": " << report.toStdString();
}

} // namespace valdora::test
