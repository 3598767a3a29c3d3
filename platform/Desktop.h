#pragma once
#include <chrono>
#include <cstddef>

#include "platform/Text.h"
#include "platform/WindowSurface.h"

namespace pendrel {

class Screen {
public:
    virtual ~Screen() = default;
    virtual float WidthTwips() const = 0;
    virtual float HeightTwips() const = 0;
};

// Modal message boxes with an OK button only and no icon.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(const Text& text, const Text& title) = 0;
};

// The shell's folder browser: the chosen folder's path, or empty when cancelled.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    virtual Text Browse(WindowHandle owner, const Text& title) = 0;
};

class Program {
public:
    virtual ~Program() = default;
    // The folder that holds the program's executable, without a trailing separator.
    virtual Text Folder() const = 0;
    // Ends the program at once, whatever is running.
    virtual void End() = 0;
};

// Lets the window handle the messages waiting for it, then waits asleep for at most maxWait,
// still handling any message that arrives meanwhile. It never spins a core.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessPendingMessages(std::chrono::milliseconds maxWait) = 0;
    // Safe from any thread: ends the current (or the next) wait of ProcessPendingMessages
    // early, so a waiter learns at once that what it waits for has arrived.
    virtual void Wake() = 0;
};

// The desktop's own ways to a file.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens the file in the program the desktop uses for its kind; false when none would.
    virtual bool Open(const Text& path) = 0;
    // Shows the file manager on the file's folder with the file selected (the folder alone
    // where the file manager cannot select); false when nothing could be shown.
    virtual bool ShowInFolder(const Text& path) = 0;
};

// A run's progress where the desktop shows it: the task bar button, the launcher or dock.
// Where nothing listens, nothing happens.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // done of total items are behind the run; failed once any of them failed.
    virtual void Show(std::size_t done, std::size_t total, bool failed) = 0;
    // The run is over: the desktop shows no progress.
    virtual void Clear() = 0;
};

}  // namespace pendrel
