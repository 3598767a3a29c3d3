// pendrel_screenshot <file.png>: the window after start-up with a few queued documents.
#include <QApplication>
#include <QTest>

#include "queue/Queue.h"
#include "tests/platform/qt/WindowHarness.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    pendrel::qttest::WindowHarness h;
    for (const char* path :
         {"/home/ann/Reports/2024 Annual Report.doc", "/home/ann/Reports/Budget Summary.doc",
          "/home/ann/Letters/Cover Letter.doc"})
        pendrel::Queue::Append(h.window.listView1(), path);
    h.window.listView1().SetSubItem(1, 1, "Done");
    h.window.show();
    return QTest::qWaitForWindowExposed(&h.window) &&
                   h.window.grab().save(QString::fromLocal8Bit(argv[1]))
               ? 0
               : 1;
}
