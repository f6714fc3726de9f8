#pragma once

#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/IOError.h"
#include "tasks/TaskCancelledError.h"

#include <functional>
#include <string>

namespace testing_support
{
/** The error's class and message, e.g. "HttpError: HTTP error code 503", so a test can compare
    a failure with one string. */
inline std::string describeError (std::exception_ptr error)
{
    try
    {
        std::rethrow_exception (error);
    }
    catch (const HttpError& e)
    {
        return std::string ("HttpError: ") + e.what();
    }
    catch (const ServerError& e)
    {
        return std::string ("ServerError: ") + e.what();
    }
    catch (const ClientError& e)
    {
        return std::string ("ClientError: ") + e.what();
    }
    catch (const IOError& e)
    {
        return std::string ("IOError: ") + e.what();
    }
    catch (const TaskCancelledError& e)
    {
        return std::string ("TaskCancelledError: ") + e.what();
    }
    catch (const std::exception& e)
    {
        return std::string ("other: ") + e.what();
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
