#pragma once
#include "platform/office/word/WordApplication.h"
