#pragma once

#include "tasks/AsyncControlBlock.h"

#include <cstdint>
#include <string>
#include <variant>

/** Downloads the installer at downloadLink, requested exactly as given, into destinationPath
    (worker thread).

    The body goes into a hidden partial file beside the destination, which replaces the
    destination only once the whole body has arrived; on any failure or cancel the partial file
    is removed and an existing file at the destination is left as it was. Partial files that
    dead runs left for the same destination are removed first. A cancel interrupts a blocked
    request or read at once. Retries after a ClientError (no answer, or a status neither 200 nor
    5xx), at most four attempts. Progress: (attempt, 3.0, "retry") before each retry, then (bytes
    so far, announced length or -1.0, ""). Throws ServerError before any request when the link
    is not http or https, or its file name is unsafe, longer than 255 bytes or not the
    destination's file name; IOError when a folder stands at the destination. totalSize is the
    size the links answer gave (0: none): a body of another length fails as a size mismatch, as
    does one of another length than its Content-Length announces, whatever the framing, and an
    empty body always fails (ServerError). */
std::monostate downloadInstaller (const std::string& destinationPath,
                                  const std::string& downloadLink, std::int64_t totalSize,
                                  const AsyncControlBlock& control, ProgressFunction progress);
