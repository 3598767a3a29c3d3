#pragma once
// Form1: the main window and its six controls, laid out at fixed places. Every event of the
// window and of its controls goes to the Form1 handler of the same name.
#include <QCursor>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "platform/Form1Events.h"
#include "platform/WindowSurface.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtPictureButton.h"

namespace pendrel::qt {

class Form1Window : public QWidget, public WindowSurface {
    Q_OBJECT
public:
    explicit Form1Window(QWidget* parent = nullptr);

    // From now on the window's events run these handlers.
    void Connect(Form1Events& handlers);

    QtListView& listView1() { return *listView1_; }
    QtPictureButton& check1() { return *check1_; }
    QtPictureButton& check2() { return *check2_; }
    QtPictureButton& check4() { return *check4_; }
    QPushButton& command1() { return *command1_; }
    QtCommonDialog& commonDialog1() { return commonDialog1_; }

    float Left() const override;
    void SetLeft(float twips) override;
    float Top() const override;
    void SetTop(float twips) override;
    float Width() const override;
    float Height() const override;

    Text Caption() const override;
    void SetCaption(const Text& caption) override;

    int MousePointer() const override { return pointer_; }
    void SetMousePointer(int setting) override;
    void SetMouseIcon(const Text& imageFile) override;

    WindowHandle hWnd() const override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Local files and folders dropped on the window are queued like the buttons queue them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    QCursor CursorFor(int setting) const;
    void ApplyPointer();
    bool TakeDrag(QDropEvent& event);

    QtPictureButton* check4_ = nullptr;
    QtListView* listView1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QtPictureButton* check2_ = nullptr;
    QtPictureButton* check1_ = nullptr;
    QtCommonDialog commonDialog1_;

    Form1Events* handlers_ = nullptr;
    int pointer_ = 0;  // the toolkit's default until a handler writes it
    std::optional<QCursor> mouseIcon_;
    bool shown_ = false;
};

}  // namespace pendrel::qt
