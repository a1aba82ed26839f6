#pragma once

#include "core/Failure.h"

#include <QString>

#include <gtest/gtest.h>

#include <exception>
#include <utility>

namespace valdora::test {

/// The description a failure must carry: the whole text, or a part of it where the rest names
/// something the test does not pin (the database's location, a message of the operating system).
class ExpectedText {
public:
    ExpectedText(const char* whole) : m_text(QString::fromUtf8(whole)) {}
    ExpectedText(const QString& whole) : m_text(whole) {}

    /// A text that must stand somewhere in the description.
    static ExpectedText containing(const QString& part) { return ExpectedText(part, true); }

    bool matches(const QString& description) const
    {
        return m_partOnly ? description.contains(m_text) : description == m_text;
    }

    std::string toStdString() const
    {
        return (m_partOnly ? "a text containing \"" : "\"") + m_text.toStdString() + '"';
    }

private:
    ExpectedText(const QString& text, bool partOnly) : m_text(text), m_partOnly(partOnly) {}

    QString m_text;
    bool m_partOnly = false;
};

/// Shorthand for ExpectedText::containing.
inline ExpectedText containing(const QString& part)
{
    return ExpectedText::containing(part);
}
inline ExpectedText containing(const char* part)
{
    return ExpectedText::containing(QString::fromUtf8(part));
}

/// Whether `call` throws a FailureType that carries `number` and `text`: a failure is checked by what
/// its report shows, since a failure of the right type with the wrong number or the wrong description
/// is still a wrong report. Use as EXPECT_TRUE(failsWith(...)), so that a mismatch names the caller's
/// line and what was thrown.
template <typename FailureType = Failure, typename Call>
::testing::AssertionResult failsWith(int number, const ExpectedText& text, Call&& call)
{
    try {
        std::forward<Call>(call)();
    } catch (const FailureType& failure) {
        if (failure.number() == number && text.matches(failure.description()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "failed with \"" << failure.what() << "\", expected number "
                                             << number << " with " << text.toStdString();
    } catch (const std::exception& other) {
        return ::testing::AssertionFailure() << "threw another exception: " << other.what();
    }
    return ::testing::AssertionFailure()
           << "did not fail, expected number " << number << " with " << text.toStdString();
}

/// The same for one of the standard error numbers.
template <typename FailureType = Failure, typename Call>
::testing::AssertionResult failsWith(ErrorNumber number, const ExpectedText& text, Call&& call)
{
    return failsWith<FailureType>(static_cast<int>(number), text, std::forward<Call>(call));
}

} // namespace valdora::test
