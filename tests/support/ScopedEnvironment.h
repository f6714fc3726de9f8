#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support
{
/** Sets (or unsets) an environment variable while it lives; make it before starting threads. */
class ScopedEnvironment final
{
public:
    ScopedEnvironment (std::string variableName, std::optional<std::string> value)
        : name (std::move (variableName))
    {
        if (const auto* old = std::getenv (name.c_str()))
            previous = old;
        set (value);
    }

    ~ScopedEnvironment() { set (previous); }
    ScopedEnvironment (const ScopedEnvironment&) = delete;

private:
    void set (const std::optional<std::string>& value) const
    {
        value ? ::setenv (name.c_str(), value->c_str(), 1) : ::unsetenv (name.c_str());
    }

    const std::string name;
    std::optional<std::string> previous;
};
} // namespace testing_support
