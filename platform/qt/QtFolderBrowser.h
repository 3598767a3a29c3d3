#pragma once
// The folder browser of Add Folder: a modal directory chooser over the main window.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

#include "platform/Desktop.h"

namespace pendrel::qt {

class QtFolderBrowser : public FolderBrowser {
public:
    explicit QtFolderBrowser(QWidget* owner) : owner_(owner) {}

    // The owner handle is the main window's; the dialog is parented to that window itself.
    Text Browse(WindowHandle owner, const Text& title) override;

    // For tests: the next Browse yields this folder (empty: as if cancelled) without a dialog.
    void setNextDirectory(const QString& folder) { nextDirectory_ = folder; }

private:
    QPointer<QWidget> owner_;
    std::optional<QString> nextDirectory_;
};

}  // namespace pendrel::qt
