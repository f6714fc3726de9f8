#pragma once

#include "tasks/NetworkError.h"

/** No answer at all (status 0), or a status that is neither 200 nor within 500 to 599. The only error the retry loops catch. */
class ClientError final : public NetworkError
{
public:
    explicit ClientError (const char* message)
        : NetworkError (message)
    {
    }
    ~ClientError() override;
};
