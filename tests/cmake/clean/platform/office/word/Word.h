#pragma once
#include "platform/desk/Desk.h"
#include "platform/office/pool/Pool.h"
