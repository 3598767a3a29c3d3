#include "platform/qt/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static void InitPendrelResources() {
    Q_INIT_RESOURCE(pendrel);
}

namespace pendrel::qt {

void InitResources() {
    static const bool done = (InitPendrelResources(), true);
    (void)done;
}

}  // namespace pendrel::qt
