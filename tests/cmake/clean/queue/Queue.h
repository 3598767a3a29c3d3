#pragma once
#include <vector>

#include "platform/Text.h"
