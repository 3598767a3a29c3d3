#include "platform/qt/QtFolderBrowser.h"

#include <QFileDialog>

namespace pendrel::qt {

Text QtFolderBrowser::Browse(WindowHandle, const Text& title) {
    if (nextDirectory_) {
        const QString folder = *nextDirectory_;
        nextDirectory_.reset();
        return folder.toStdString();
    }
    // Only folders of the file system can be chosen; cancelling gives the empty text.
    const QString folder = QFileDialog::getExistingDirectory(owner_, QString::fromStdString(title),
                                                             QString(), QFileDialog::ShowDirsOnly);
    return folder.toStdString();
}

}  // namespace pendrel::qt
