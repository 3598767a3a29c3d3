#pragma once
// The main window's logic: one handler per window event. The front end builds the window and
// its controls, hands them in, and forwards each event to its handler here.
#include <vector>

#include "convert/RunInterruption.h"
#include "platform/Automation.h"
#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "platform/Form1Events.h"
#include "platform/WindowMessages.h"
#include "platform/WindowSurface.h"

namespace pendrel {

struct Form1Controls {
    WindowSurface& form;
    ListView& listView1;
    PictureButton& check1;  // Add Files
    PictureButton& check2;  // Convert
    PictureButton& check4;  // Add Folder
    CommonDialog& commonDialog1;
};

struct Form1Services {
    Screen& screen;
    FileSystem& fileSystem;
    DirectoryLister& directoryLister;
    MessageBoxes& messageBoxes;
    FolderBrowser& folderBrowser;
    Program& program;
    EventPump& eventPump;
    AutomationFactory& automation;
    WindowMessages& windowMessages;
    Shell& shell;
    RunProgress& progress;
    LookAhead& lookAhead;
};

class Form1 : public Form1Events {
public:
    Form1(Form1Controls controls, Form1Services services);

    void Form_Load();
    void Form_Unload() override;
    void Form_MouseMove() override;

    void Check1_Click() override;  // Add Files
    void Check2_Click() override;  // Convert
    void Check4_Click() override;  // Add Folder
    void Check1_MouseMove() override;
    void Check2_MouseMove() override;
    void Check4_MouseMove() override;

    void ListView1_DblClick() override;
    void ListView1_MouseMove() override;
    void ListView1_ItemMenu(std::size_t index) override;

    // Paths handed in from outside the window (the command line, a drop), queued in order as
    // the buttons queue them; relative ones are taken from currentFolder. The ones that do
    // not exist, and what was found but could not be added, are named together in one
    // message once the rest are queued. What a run that was cut off left beside the queued
    // documents is tidied.
    void QueuePaths(const std::vector<Text>& paths, const Text& currentFolder) override;

private:
    // Each picture button acts as a push button: only a click that put it down does work,
    // and it is put up again first (which raises a nested Click that does nothing).
    static bool TakePush(PictureButton& button);
    // Tidies what a run that was cut off left beside the documents queued after position
    // before: a PDF set aside is put back, an abandoned partial file removed.
    void TidyBesideQueued(std::size_t before);

    Form1Controls c_;
    Form1Services s_;
    bool converting_ = false;  // a Convert run is going
    RunInterruption interruption_;
};

}  // namespace pendrel
