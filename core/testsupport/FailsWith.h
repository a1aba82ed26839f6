#pragma once

#include "core/Failure.h"

#include <gtest/gtest.h>

#include <exception>
#include <utility>

namespace valdora::test {

/// Whether `call` throws a FailureType that carries `number`: a failure is checked by the number its
/// report shows, since a failure of the right type with the wrong number is still a wrong report.
/// Use as EXPECT_TRUE(failsWith(...)), so that a mismatch names the caller's line and what was thrown.
template <typename FailureType = Failure, typename Call>
::testing::AssertionResult failsWith(int number, Call&& call)
{
    try {
        std::forward<Call>(call)();
    } catch (const FailureType& failure) {
        if (failure.number() == number)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "failed with number " << failure.number() << " ("
                                             << failure.what() << "), expected " << number;
    } catch (const std::exception& other) {
        return ::testing::AssertionFailure() << "threw another exception: " << other.what();
    }
    return ::testing::AssertionFailure() << "did not fail, expected number " << number;
}

/// The same for one of the standard error numbers.
template <typename FailureType = Failure, typename Call>
::testing::AssertionResult failsWith(ErrorNumber number, Call&& call)
{
    return failsWith<FailureType>(static_cast<int>(number), std::forward<Call>(call));
}

} // namespace valdora::test
