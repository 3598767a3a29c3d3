#pragma once
#include <algorithm>
#include <cctype>

#include "platform/Text.h"

namespace pendrel::office {

// Automation class and member names are not case-sensitive.
inline bool SameName(const Text& a, const Text& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace pendrel::office
