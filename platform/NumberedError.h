#pragma once
#include <cstdint>
#include <stdexcept>

#include "platform/Text.h"

namespace pendrel {

// A failure with a number and a description a user can read, as the platform reports it.
class NumberedError : public std::runtime_error {
public:
    NumberedError(std::int32_t number, const Text& description)
        : std::runtime_error(description), number_(number), description_(description) {}
    std::int32_t Number() const { return number_; }
    const Text& Description() const { return description_; }

private:
    std::int32_t number_;
    Text description_;
};

}  // namespace pendrel
