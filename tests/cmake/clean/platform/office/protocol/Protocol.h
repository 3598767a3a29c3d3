#pragma once
#include "platform/office/OfficeLimits.h"
