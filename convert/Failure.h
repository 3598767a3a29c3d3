#pragma once
// Why a document was not converted, as the user is told: the failure's number and
// description, said as "Error <number>: <description>" by the window and the command line
// alike.
#include <cstdint>

#include "platform/Text.h"

namespace pendrel {

struct Failure {
    std::int32_t number;
    Text description;

    // "Error 5408: The document is protected with a password and cannot be opened."
    Text Said() const { return "Error " + std::to_string(number) + ": " + description; }
};

// The number shown for a failure that brings none of its own.
inline constexpr std::int32_t UnexpectedErrorNumber = 51;

// The failure being handled. Must be called from inside a catch block.
Failure CurrentFailure();

}  // namespace pendrel
