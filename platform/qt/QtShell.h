#pragma once
// Files opened in their usual program, and shown in the file manager.
#include <functional>

#include "platform/Desktop.h"

namespace pendrel::qt {

class QtShell : public Shell {
public:
    bool Open(const Text& path) override;
    // The file manager's own "show these items" call over D-Bus, which selects the file;
    // where no file manager answers it, the folder is opened in whatever shows folders.
    bool ShowInFolder(const Text& path) override;
};

}  // namespace pendrel::qt
