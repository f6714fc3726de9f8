#include "tasks/ThrowErrors.h"

#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/IOError.h"
#include "tasks/ServerError.h"
#include "tasks/TaskCancelledError.h"

#include <fmt/format.h>

// Out-of-line destructors anchor each class's vtable in one translation unit.
DownloaderBaseError::~DownloaderBaseError() = default;
NetworkError::~NetworkError() = default;
ServerError::~ServerError() = default;
HttpError::~HttpError() = default;
ClientError::~ClientError() = default;
IOError::~IOError() = default;
TaskCancelledError::~TaskCancelledError() = default;

void throwTaskCancelled()
{
    throw TaskCancelledError();
}

void throwIOError (const char* message)
{
    throw IOError (message);
}

void throwIOError (const std::string& message)
{
    throwIOError (message.c_str());
}

void throwServerError (const char* message)
{
    throw ServerError (message);
}

void throwServerError (const std::string& message)
{
    throwServerError (message.c_str());
}

void throwClientError (const char* message)
{
    throw ClientError (message);
}

void throwClientError (const std::string& message)
{
    throwClientError (message.c_str());
}

void throwHttpError (const char* message)
{
    throw HttpError (message);
}

void throwHttpError (const std::string& message)
{
    throwHttpError (message.c_str());
}

void throwForHttpStatus (int status)
{
    const auto message = fmt::format ("HTTP error code {}", status);

    if (status >= 500 && status <= 599)
        throwHttpError (message);

    throwClientError (message);
}
