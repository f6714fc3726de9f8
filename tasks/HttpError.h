#pragma once

#include "tasks/ServerError.h"

/** The server answered with a status from 500 to 599. Being a ServerError, it is never retried. */
class HttpError final : public ServerError
{
public:
    explicit HttpError (const char* message)
        : ServerError (message)
    {
    }
    ~HttpError() override;
};
