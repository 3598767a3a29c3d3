#pragma once
// CommonDialog1: the Add Files dialog, a modal multi-select file-open dialog over the window.
#include <QFileDialog>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>

#include "platform/Controls.h"

namespace pendrel::qt {

class QtCommonDialog : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget* owner) : owner_(owner) {}

    void SetFlags(std::int32_t flags) override { flags_ = flags; }
    void SetDialogTitle(const Text& title) override { title_ = title; }
    void SetFilter(const Text& filter) override { filter_ = filter; }
    void ShowOpen() override;
    Text FileName() const override { return fileName_; }

    std::int32_t Flags() const { return flags_; }

    // The dialog ShowOpen shows, set up but not yet shown.
    std::unique_ptr<QFileDialog> MakeDialog() const;

    // For tests: the next ShowOpen yields these full paths (empty: as if cancelled) at once,
    // without showing anything.
    void setNextFileNames(const QStringList& paths) { nextFileNames_ = paths; }

private:
    QPointer<QWidget> owner_;
    std::int32_t flags_ = 0;
    Text title_;
    Text filter_;
    Text fileName_;
    std::optional<QStringList> nextFileNames_;
};

// "Description|pattern|..." -> the dialog's filter lines, each matching without regard to
// case while it shows its own description: "Word Documents (*.doc)|*.doc|" gives one line.
QStringList FilterLines(const Text& filter);

// The dialog's result as one text: "" for none, the path for one, otherwise the folder and
// then each name, every name preceded by one NUL character.
Text JoinPicked(const QStringList& paths);

}  // namespace pendrel::qt
