#pragma once
#include <chrono>
