#pragma once

#include <cstdlib>
#include <cxxabi.h>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>

namespace testing_support
{
/** "ok" when action returns, else what it threw as "<class>: <message>", e.g. "HttpError: HTTP
    error code 503", so that a test compares a failure, class included, with one string. */
inline std::string outcomeOf (const std::function<void()>& action)
{
    try
    {
        action();
        return "ok";
    }
    catch (const std::exception& e)
    {
        const std::unique_ptr<char, void (*) (void*)> name (
            abi::__cxa_demangle (typeid (e).name(), nullptr, nullptr, nullptr), std::free);
        return std::string (name != nullptr ? name.get() : typeid (e).name()) + ": " + e.what();
    }
}
} // namespace testing_support
