#include "../../Outside.h"
