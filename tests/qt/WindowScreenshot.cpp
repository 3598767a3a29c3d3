// Writes a picture of the window as it looks after start-up with a few queued documents:
// pendrel_screenshot <file.png>
#include <QApplication>
#include <QPixmap>
#include <QTest>

#include "queue/Queue.h"
#include "tests/qt/WindowHarness.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: pendrel_screenshot <file.png>");
        return 2;
    }
    pendrel::qttest::WindowHarness h;
    h.form->Form_Load();
    auto& list = h.window.listView1();
    pendrel::Queue::Append(list, "/home/ann/Reports/2024 Annual Report.doc");
    pendrel::Queue::Append(list, "/home/ann/Reports/Budget Summary.doc");
    pendrel::Queue::Append(list, "/home/ann/Letters/Cover Letter.doc");
    list.SetSubItem(1, 1, "Done");
    h.window.show();
    if (!QTest::qWaitForWindowExposed(&h.window)) return 1;
    return h.window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
