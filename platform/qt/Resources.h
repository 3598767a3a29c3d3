#pragma once

namespace pendrel::qt {

// Makes the pictures and the icon compiled into the library available under ":/pendrel".
void InitResources();

}  // namespace pendrel::qt
