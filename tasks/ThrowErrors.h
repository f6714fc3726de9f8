#pragma once

#include <string>

// Throwing helpers: every call site builds its message and hands it here. None returns.

[[noreturn]] void throwTaskCancelled();
[[noreturn]] void throwIOError (const char* message);
[[noreturn]] void throwIOError (const std::string& message);
[[noreturn]] void throwServerError (const char* message);
[[noreturn]] void throwServerError (const std::string& message);
[[noreturn]] void throwClientError (const char* message);
[[noreturn]] void throwClientError (const std::string& message);
[[noreturn]] void throwHttpError (const char* message);
[[noreturn]] void throwHttpError (const std::string& message);

/** HttpError for 500 to 599, ClientError for anything else (0 means "no answer"). Callers only
    call it for a status other than 200. */
[[noreturn]] void throwForHttpStatus (int status);
