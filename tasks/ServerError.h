#pragma once

#include "tasks/NetworkError.h"

/** The server answered, but the answer cannot be used (too large, not UTF-8, bad JSON, an
    installer that is too large or cut short). Never retried. */
class ServerError : public NetworkError
{
public:
    explicit ServerError (const char* message)
        : NetworkError (message)
    {
    }
    ~ServerError() override;
};
