#pragma once
#include <platform/text/Utf8.h>
