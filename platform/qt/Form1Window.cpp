#include "platform/qt/Form1Window.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include "platform/Form1Layout.h"
#include "platform/qt/CursorFile.h"
#include "platform/qt/DroppedPaths.h"
#include "platform/qt/Resources.h"

namespace pendrel::qt {
namespace {

QRect PixelsOf(const Form1Layout::Place& place) {
    return QRect(TwipsToPixels(place.left), TwipsToPixels(place.top), TwipsToPixels(place.width),
                 TwipsToPixels(place.height));
}

QFont ListFont() {
    QFont font(QString::fromUtf8(Form1Layout::ListFontName), Form1Layout::ListFontPoints,
               QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

Form1Window::Form1Window(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      commonDialog1_(this) {
    InitResources();
    setWindowTitle(QString::fromUtf8(Form1Layout::DesignCaption));
    setWindowIcon(QIcon(QStringLiteral(":/pendrel/pendrel.png")));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setAcceptDrops(true);
    resize(TwipsToPixels(Form1Layout::ClientWidth), TwipsToPixels(Form1Layout::ClientHeight));
    CreateControls();
}

void Form1Window::CreateControls() {
    // Creation order is stacking order; the places are fixed and no layout moves them.
    check4_ = new QtPictureButton(QImage(QStringLiteral(":/pendrel/check4.jpg")), this);
    check4_->setGeometry(PixelsOf(Form1Layout::Check4));
    listView1_ = new QtListView(this);
    listView1_->setGeometry(PixelsOf(Form1Layout::ListView1));
    listView1_->setFont(ListFont());
    listView1_->setToolTip(QString::fromUtf8(Form1Layout::ListToolTip));
    listView1_->Model().SetToolTip(listView1_->toolTip());
    command1_ = new QPushButton(QString::fromUtf8(Form1Layout::Command1Caption), this);
    command1_->setGeometry(PixelsOf(Form1Layout::Command1));
    command1_->setAutoDefault(false);
    command1_->setFocusPolicy(Qt::StrongFocus);
    check2_ = new QtPictureButton(QImage(QStringLiteral(":/pendrel/check2.jpg")), this);
    check2_->setGeometry(PixelsOf(Form1Layout::Check2));
    check1_ = new QtPictureButton(QImage(QStringLiteral(":/pendrel/check1.jpg")), this);
    check1_->setGeometry(PixelsOf(Form1Layout::Check1));

    const auto describe = [](QWidget* button, const Form1Layout::Accessible& text) {
        button->setAccessibleName(QString::fromUtf8(text.name));
        button->setAccessibleDescription(QString::fromUtf8(text.description));
    };
    describe(check1_, Form1Layout::Check1Accessible);
    describe(check4_, Form1Layout::Check4Accessible);
    describe(check2_, Form1Layout::Check2Accessible);

    setTabOrder(command1_, check1_);
    setTabOrder(check1_, check2_);
    setTabOrder(check2_, listView1_);
    setTabOrder(listView1_, check4_);
}

void Form1Window::Connect(Form1Events& handlers) {
    handlers_ = &handlers;
    check1_->onClick = [&handlers] { handlers.Check1_Click(); };
    check2_->onClick = [&handlers] { handlers.Check2_Click(); };
    check4_->onClick = [&handlers] { handlers.Check4_Click(); };
    check1_->onMouseMove = [&handlers] { handlers.Check1_MouseMove(); };
    check2_->onMouseMove = [&handlers] { handlers.Check2_MouseMove(); };
    check4_->onMouseMove = [&handlers] { handlers.Check4_MouseMove(); };
    listView1_->onDblClick = [&handlers] { handlers.ListView1_DblClick(); };
    listView1_->onMouseMove = [&handlers] { handlers.ListView1_MouseMove(); };
    listView1_->onItemMenu = [&handlers](std::size_t index) { handlers.ListView1_ItemMenu(index); };
}

// The geometry is the outer frame's; without a frame (not shown yet, or no window manager)
// that is the client area.
float Form1Window::Left() const {
    return PixelsToTwips(frameGeometry().x());
}
float Form1Window::Top() const {
    return PixelsToTwips(frameGeometry().y());
}
float Form1Window::Width() const {
    return PixelsToTwips(frameGeometry().width());
}
float Form1Window::Height() const {
    return PixelsToTwips(frameGeometry().height());
}

void Form1Window::SetLeft(float twips) {
    move(TwipsToPixels(twips), frameGeometry().y());
}
void Form1Window::SetTop(float twips) {
    move(frameGeometry().x(), TwipsToPixels(twips));
}

Text Form1Window::Caption() const {
    return windowTitle().toStdString();
}
void Form1Window::SetCaption(const Text& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

QCursor Form1Window::CursorFor(int setting) const {
    switch (setting) {
        case MousePointer::Arrow:
            return QCursor(Qt::ArrowCursor);
        case MousePointer::Busy:
            return QCursor(Qt::WaitCursor);
        case MousePointer::Custom:
            return mouseIcon_ ? *mouseIcon_ : QCursor(Qt::PointingHandCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

void Form1Window::SetMousePointer(int setting) {
    if (setting == pointer_) return;  // the mouse moves often; the cursor is already this one
    pointer_ = setting;
    ApplyPointer();
}

void Form1Window::ApplyPointer() {
    const QCursor cursor = CursorFor(pointer_);
    setCursor(cursor);
    // One setting for the window and every control on it (not for dialogs it owns).
    for (QWidget* child : findChildren<QWidget*>())
        if (child->window() == this) child->setCursor(cursor);
}

void Form1Window::SetMouseIcon(const Text& imageFile) {
    QFile file(QString::fromStdString(imageFile));
    std::optional<CursorImage> image;
    if (file.open(QIODevice::ReadOnly)) image = ReadCursorFile(file.readAll());
    // An unreadable image is no error: the pointing hand stands in for it.
    if (image)
        mouseIcon_ =
            QCursor(QPixmap::fromImage(image->image), image->hotSpot.x(), image->hotSpot.y());
    else
        mouseIcon_.reset();
    if (pointer_ == MousePointer::Custom) ApplyPointer();
}

WindowHandle Form1Window::hWnd() const {
    return static_cast<WindowHandle>(winId());
}

void Form1Window::mouseMoveEvent(QMouseEvent* event) {
    // Only moves over the background arrive here: the controls keep their own.
    if (handlers_) handlers_->Form_MouseMove();
    event->accept();
}

void Form1Window::closeEvent(QCloseEvent* event) {
    // Closing is never refused; the unload handler ends the program.
    event->accept();
    if (handlers_) handlers_->Form_Unload();
}

void Form1Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The hidden button holds the focus at first, so no visible control shows a focus mark.
    command1_->setFocus(Qt::OtherFocusReason);
}

// Accepts data that names local files and folders only, and only as a copy: a drop taken as
// a move lets some file managers delete the originals once the drop is done.
bool Form1Window::TakeDrag(QDropEvent& event) {
    const QMimeData* data = event.mimeData();
    if (!handlers_ || !data || !(event.possibleActions() & Qt::CopyAction) ||
        !DroppedPaths(*data)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

void Form1Window::dragEnterEvent(QDragEnterEvent* event) {
    TakeDrag(*event);
}
void Form1Window::dragMoveEvent(QDragMoveEvent* event) {
    TakeDrag(*event);
}

void Form1Window::dropEvent(QDropEvent* event) {
    if (!TakeDrag(*event)) return;
    auto paths = DroppedPaths(*event->mimeData());
    // The drag's source waits until the drop returns: a folder scan or a message box must
    // not hold it up, so the queueing runs right after.
    QTimer::singleShot(0, this, [this, paths = std::move(*paths)] {
        handlers_->QueuePaths(paths, QDir::toNativeSeparators(QDir::currentPath()).toStdString());
    });
}

}  // namespace pendrel::qt
