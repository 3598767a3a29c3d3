#include "Form1.h"

#include <string_view>
