#pragma once
#include "../helper/Sandbox.h"
