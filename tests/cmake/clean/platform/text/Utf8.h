#pragma once
#include "../Text.h"
