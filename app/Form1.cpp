#include "app/Form1.h"

#include "app/ItemMenu.h"

#include "common/LeftBehind.h"
#include "common/Misc.h"
#include "convert/BatchRun.h"
#include "platform/AppInfo.h"
#include "queue/AddFiles.h"
#include "queue/AddFolder.h"
#include "queue/AddPaths.h"
#include "queue/DialogAPI.h"
#include "queue/Queue.h"

namespace pendrel {

Form1::Form1(Form1Controls controls, Form1Services services) : c_(controls), s_(services) {}

void Form1::Form_Load() {
    Misc::CenterForm(c_.form, s_.screen);
    const Text handPointer = s_.program.Folder() + s_.fileSystem.Separator() + "HAND-M.CUR";
    if (Misc::FileExists(s_.fileSystem, handPointer)) c_.form.SetMouseIcon(handPointer);
    c_.form.SetCaption(ProductName);
    c_.listView1.AddColumnHeader("Word Filename");
    c_.listView1.AddColumnHeader("Status");
    c_.listView1.SetColumnHeaderWidth(1, 5500.0f);
    c_.listView1.SetColumnHeaderWidth(2, 1000.0f);
}

void Form1::Form_Unload() {
    interruption_.Ended();
    s_.program.End();
}

void Form1::Form_MouseMove() {
    c_.form.SetMousePointer(MousePointer::Arrow);
}
void Form1::Check1_MouseMove() {
    c_.form.SetMousePointer(MousePointer::Custom);
}
void Form1::Check2_MouseMove() {
    c_.form.SetMousePointer(MousePointer::Custom);
}
void Form1::Check4_MouseMove() {
    c_.form.SetMousePointer(MousePointer::Custom);
}
void Form1::ListView1_MouseMove() {
    c_.form.SetMousePointer(MousePointer::Custom);
}

bool Form1::TakePush(PictureButton& button) {
    if (button.Value() != 1) return false;
    button.SetValue(0);
    return true;
}

void Form1::TidyBesideQueued(std::size_t before) {
    // A run may have set aside the PDF of one of them a moment ago; it tidies what it prints.
    if (converting_) return;
    std::vector<Text> queued;
    for (std::size_t i = before + 1; i <= c_.listView1.ItemCount(); ++i)
        queued.push_back(c_.listView1.ItemText(i));
    LeftBehind::TidyBeside(s_.fileSystem, s_.directoryLister, queued);
}

void Form1::Check1_Click() {
    if (!TakePush(c_.check1)) return;
    const std::size_t before = c_.listView1.ItemCount();
    AddFiles::PickAndQueue(c_.commonDialog1, s_.fileSystem.Separator(), c_.listView1);
    TidyBesideQueued(before);
}

void Form1::Check2_Click() {
    if (!TakePush(c_.check2)) return;
    // The run lets window messages through while it waits on the printer; a click on
    // Convert then must not start a second run inside the first.
    if (converting_) return;
    converting_ = true;
    struct RunEnds {
        bool& flag;
        ~RunEnds() { flag = false; }
    } runEnds{converting_};
    BatchRun::ConvertQueue({c_.form, c_.listView1, s_.fileSystem, s_.messageBoxes, s_.eventPump,
                            s_.automation, s_.windowMessages, s_.progress, s_.lookAhead,
                            &interruption_});
}

void Form1::Check4_Click() {
    if (!TakePush(c_.check4)) return;
    const Text folder =
        DialogAPI::BrowseForFolder(s_.folderBrowser, c_.form.hWnd(), AddFolder::BrowserTitle);
    if (folder.empty()) return;
    const std::size_t before = c_.listView1.ItemCount();
    const auto notAdded =
        AddFolder::QueueFolder(s_.directoryLister, s_.fileSystem.Separator(), folder, c_.listView1);
    TidyBesideQueued(before);
    if (!notAdded.empty())
        s_.messageBoxes.Show(AddPaths::LeftoversMessage({{}, notAdded}), ApplicationTitle);
}

void Form1::ListView1_DblClick() {
    Queue::RemoveSelected(c_.listView1);
}

void Form1::ListView1_ItemMenu(std::size_t index) {
    ItemMenu::ShowFor({c_.listView1, s_.fileSystem, s_.shell, s_.messageBoxes}, index);
}

void Form1::QueuePaths(const std::vector<Text>& paths, const Text& currentFolder) {
    std::vector<Text> absolute;
    absolute.reserve(paths.size());
    for (const Text& path : paths) absolute.push_back(AddPaths::Absolute(path, currentFolder));
    const std::size_t before = c_.listView1.ItemCount();
    const AddPaths::Leftovers leftovers =
        AddPaths::QueueEach(absolute, s_.fileSystem, s_.directoryLister, c_.listView1);
    TidyBesideQueued(before);
    if (!leftovers.empty())
        s_.messageBoxes.Show(AddPaths::LeftoversMessage(leftovers), ApplicationTitle);
}

}  // namespace pendrel
