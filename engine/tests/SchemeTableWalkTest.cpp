// The engine's side of the scheme table: each scheme code reaches its computing object, and a code
// that names no scheme reaches none and computes nothing.
#include "EngineTestBed.h"

#include "settings/SchemeTable.h"

#include <gtest/gtest.h>

namespace valdora::engine::test {
namespace {

TEST(SchemeTableWalk, EveryRowThatComputesAValueHasItsComputingObject)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    for (const SchemeRow& row : SchemeTable) {
        const qint16 code = codeOf(row.scheme);
        SCOPED_TRACE(code);
        EXPECT_EQ(bed.engine().computer(code) != nullptr, row.computesValue);
    }
    EXPECT_EQ(bed.engine().computer(codeOf(Scheme::Missing)), nullptr);
    EXPECT_EQ(bed.engine().computer(static_cast<qint16>(SchemeTable.size())), nullptr);
}

// A "Type" past the table (a button of a later version, a damaged file) is prepared and computed as
// nothing: it must not fall to the computation of scheme 0 nor read past the table.
TEST(SchemeTableWalk, ACodePastTheTableComputesNothing)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "7"}, {"Format", QString(QChar(0xFA))}});
    const host::ContactId contact = bed.addContact({});
    for (const qint16 code : {qint16(-1), static_cast<qint16>(SchemeTable.size()), qint16(255)}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(bed.engine().Initialize(code, 0, button));
        EXPECT_EQ(bed.engine().Obtain(code, contact, button, 0), QString());
        EXPECT_FALSE(bed.engine().obtainFailed());
    }
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

} // namespace
} // namespace valdora::engine::test
