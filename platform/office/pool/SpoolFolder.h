#pragma once
// Where print jobs are rendered before they get their name: a private folder (mode 0700) of
// this process under the temporary folder, made on first use and removed with the engine.
#include <atomic>
#include <mutex>
#include <string>

namespace pendrel::office {

class SpoolFolder {
public:
    SpoolFolder() = default;
    ~SpoolFolder();
    SpoolFolder(const SpoolFolder&) = delete;
    SpoolFolder& operator=(const SpoolFolder&) = delete;

    // A fresh file name in the folder (the file itself is not made); empty when the folder
    // cannot be made.
    std::string NewFile();
    // A fresh folder of a helper's own (mode 0700), made; empty when it cannot be made.
    std::string NewHelperFolder();
    // The temporary folder the spool lives in, as the user knows it.
    std::string Parent() const;
    // Removes the folder and whatever is left in it.
    void RemoveAll();
    std::string Path() const;

private:
    bool MakeLocked();

    mutable std::mutex mutex_;
    std::string path_;
    unsigned next_ = 0;
};

// Puts the finished file `from` at `target` so that target is either untouched or complete:
// renamed there when both are on one file system, else copied to a temporary file in the
// target's folder and that renamed over target.
// from is removed in any case. False, with error set, when target cannot be written (the
// temporary file is then removed too).
bool MoveIntoPlace(const std::string& from, const std::string& target, std::string& error);

}  // namespace pendrel::office
