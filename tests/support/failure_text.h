#pragma once
// The message a Result failed with, empty when it did not: lets a test check the text a user
// would read as it checks any string.
#include "platform/result.h"

namespace zolm::test {

template <class R>
QString failureText(const R &result)
{
    return result.ok() ? QString() : result.error().message;
}

} // namespace zolm::test
