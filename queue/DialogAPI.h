#pragma once
#include "platform/Desktop.h"

namespace pendrel::DialogAPI {

// Shows the folder browser over owner; the chosen folder's path, or "" when the user
// cancelled or chose something that is not a file-system folder.
Text BrowseForFolder(FolderBrowser& browser, WindowHandle owner, const Text& title);

}  // namespace pendrel::DialogAPI
