#pragma once

#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>

namespace testing_support
{
/** The error's class and message, e.g. "HttpError: HTTP error code 503", so a test can compare
    a failure, class included, with one string. */
inline std::string describeError (std::exception_ptr error)
{
    try
    {
        std::rethrow_exception (error);
    }
    catch (const std::exception& e)
    {
        int status = -1;
        const std::unique_ptr<char, void (*) (void*)> name (
            abi::__cxa_demangle (typeid (e).name(), nullptr, nullptr, &status), std::free);
        return std::string (status == 0 ? name.get() : typeid (e).name()) + ": " + e.what();
    }
    catch (int value)
    {
        return "int: " + std::to_string (value);
    }
}

/** "ok" when action returns, else the description of what it threw. */
inline std::string outcomeOf (const std::function<void()>& action)
{
    try
    {
        action();
        return "ok";
    }
    catch (...)
    {
        return describeError (std::current_exception());
    }
}
} // namespace testing_support
