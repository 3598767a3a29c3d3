#pragma once
#include "../queue/Queue.h"
