#include "queue/DialogAPI.h"

namespace pendrel::DialogAPI {

Text BrowseForFolder(FolderBrowser& browser, WindowHandle owner, const Text& title) {
    return browser.Browse(owner, title);
}

}  // namespace pendrel::DialogAPI
