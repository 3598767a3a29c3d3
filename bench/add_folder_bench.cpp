// Add Folder on a large tree through the real window (offscreen), against `find` on the
// same tree in the same run. Usage: add_folder_bench [folders] [files-per-folder]
// Defaults: 10,000 folders (100 top folders of 99 subfolders each), 10 files in each, one
// of which is a .doc: 100,000 files, 10,000 documents.
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Form1.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtScreen.h"
#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"

namespace {

using namespace pendrel;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

void MakeTree(const fs::path& root, int folders, int filesPerFolder) {
    const char* others[] = {".txt", ".docx", ".pdf",  ".odt", ".rtf",
                            ".xls", ".png",  ".adoc", ".md"};
    const int top = 100;
    for (int i = 0; i < folders; ++i) {
        const fs::path dir =
            i < top ? root / ("d" + std::to_string(i))
                    : root / ("d" + std::to_string(i % top)) / ("s" + std::to_string(i / top));
        fs::create_directories(dir);
        for (int f = 0; f < filesPerFolder; ++f) {
            const std::string ending = f % 10 == 0 ? ".doc" : others[f % 10 - 1];
            std::ofstream(dir / ("file" + std::to_string(f) + ending));
        }
    }
}

double TimeFind(const fs::path& root) {
    const std::string command = "find '" + root.string() + "' -iname '*.doc' > /dev/null";
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

// The program as main builds it, with the folder browser's test hook.
struct BenchWindow {
    programs::PendrelProgram p{programs::LocateOfficeHelper(qt::QtProgram().Folder())};
    BenchWindow() {
        p.form.Form_Load();
        p.window.show();
        QApplication::processEvents();
    }
};

// From the folder chosen to the last item shown in the list.
double TimeAddFolder(BenchWindow& p, const fs::path& root) {
    p.p.folderBrowser.setNextDirectory(QString::fromStdString(root.string()));
    const auto start = Clock::now();
    p.p.window.check4().SetValue(1);
    QApplication::processEvents();
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int filesPerFolder = argc > 2 ? std::atoi(argv[2]) : 10;

    const fs::path root =
        fs::temp_directory_path() / ("pendrel-bench-" + std::to_string(::getpid()));
    MakeTree(root, folders, filesPerFolder);
    std::printf("tree: %d folders, %d files\n", folders, folders * filesPerFolder);

    const double find = TimeFind(root);
    double add = 1e9;
    std::size_t items = 0;
    double bytesPerItem = 0;
    for (int run = 0; run < 3; ++run) {
        BenchWindow p;
        const long before = ResidentKilobytes();
        add = std::min(add, TimeAddFolder(p, root));
        items = p.p.window.listView1().ItemCount();
        if (run == 0) bytesPerItem = (ResidentKilobytes() - before) * 1024.0 / double(items);
    }
    std::printf("find -iname '*.doc': %.3f s (best of 3)\n", find);
    std::printf("Add Folder: %zu items in %.3f s (best of 3) = %.2f x find (aim: within 3x)\n",
                items, add, add / find);
    std::printf("list memory: %.0f bytes per item (resident size before and after)\n",
                bytesPerItem);

    BenchWindow p;
    const Text path = (root / "d1" / "s1" / "file0.doc").string();
    const auto start = Clock::now();
    for (int i = 0; i < 10000; ++i) Queue::Append(p.p.window.listView1(), path);
    const double appendOnly = SecondsSince(start);
    QApplication::processEvents();
    std::printf("10,000 appends: %.3f s, %.3f s with the list shown (aim: under 0.5 s)\n",
                appendOnly, SecondsSince(start));

    fs::remove_all(root);
    return 0;
}
