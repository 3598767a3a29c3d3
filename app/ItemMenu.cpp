#include "app/ItemMenu.h"

#include <vector>

#include "common/Misc.h"
#include "convert/BatchRun.h"
#include "platform/AppInfo.h"
#include "queue/Queue.h"

namespace pendrel::ItemMenu {
namespace {

// The PDF a conversion of the document writes, when it is there.
std::optional<Text> ExistingPdf(const FileSystem& fileSystem, const Text& document) {
    if (!Queue::HasDocEnding(document)) return std::nullopt;
    const Text pdf = BatchRun::OutputPathFor(document);
    if (!Misc::FileExists(fileSystem, pdf)) return std::nullopt;
    return pdf;
}

}  // namespace

void ShowFor(const Surroundings& menu, std::size_t index) {
    if (index < 1 || index > menu.list.ItemCount()) return;
    const ListView::ItemId id = menu.list.IdAt(index);
    const Text document = menu.list.ItemText(index);
    const std::optional<Text> pdf = ExistingPdf(menu.fileSystem, document);

    std::vector<Text> entries;
    if (pdf) entries.push_back(OpenPdf);
    entries.push_back(ShowInFolder);
    entries.push_back(Remove);
    const auto chosen = menu.list.PopupMenu(entries);
    if (!chosen || *chosen >= entries.size()) return;

    const Text& action = entries[*chosen];
    if (action == OpenPdf) {
        if (!menu.shell.Open(*pdf))
            menu.messageBoxes.Show("No program could open " + *pdf + ".", ApplicationTitle);
    } else if (action == ShowInFolder) {
        const Text& shown = pdf ? *pdf : document;
        if (!menu.shell.ShowInFolder(shown))
            menu.messageBoxes.Show("The folder of " + shown + " could not be shown.",
                                   ApplicationTitle);
    } else if (const auto now = menu.list.IndexOf(id)) {
        // The menu was modal, but a run may have removed the item meanwhile.
        menu.list.RemoveItem(*now);
    }
}

}  // namespace pendrel::ItemMenu
