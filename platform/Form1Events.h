#pragma once
// The events of the main window and its controls, as a front end raises them: each goes to the
// window's handler of the same name.
#include <cstddef>
#include <vector>

#include "platform/Text.h"

namespace pendrel {

class Form1Events {
public:
    virtual ~Form1Events() = default;

    virtual void Form_Unload() = 0;
    virtual void Form_MouseMove() = 0;

    virtual void Check1_Click() = 0;  // Add Files
    virtual void Check2_Click() = 0;  // Convert
    virtual void Check4_Click() = 0;  // Add Folder
    virtual void Check1_MouseMove() = 0;
    virtual void Check2_MouseMove() = 0;
    virtual void Check4_MouseMove() = 0;

    virtual void ListView1_DblClick() = 0;
    virtual void ListView1_MouseMove() = 0;
    // The user asked for the menu of the item at index (a right-click, the menu key).
    virtual void ListView1_ItemMenu(std::size_t index) = 0;

    // Files and folders dropped on the window; relative ones are taken from currentFolder.
    virtual void QueuePaths(const std::vector<Text>& paths, const Text& currentFolder) = 0;
};

}  // namespace pendrel
