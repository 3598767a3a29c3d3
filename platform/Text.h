#pragma once
// Text in the program's logic is UTF-8 in std::string; platform code converts at its edge.
#include <string>

namespace pendrel {
using Text = std::string;
}
