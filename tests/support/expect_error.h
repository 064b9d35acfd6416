#pragma once
// The one way the tests expect a failure: the action raises the program's exception of the given
// kind with exactly this message.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/exceptions.h"

namespace metopt::testsupport {

template <class Error = runtime::Exception, class Action>
void ExpectError(Action&& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error; expected \"" << message << '"';
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

// The message of the program's exception the call raises, or nothing.
template <class Call>
std::optional<std::string> ErrorOf(Call call) {
    try {
        call();
    } catch (const runtime::Exception& e) {
        return e.Message();
    }
    return std::nullopt;
}

}  // namespace metopt::testsupport
