// The file-name dialog that the virtual printer shows on its own thread.
#include "platform/WordContract.h"
#include "platform/desk/Desk.h"
#include "platform/desk/DeskImpl.h"
#include "platform/desk/EditBox.h"
#include "platform/text/Utf16.h"

namespace pendrel::desk {

namespace {

// The buttons' size in pixels; a press or release outside it clicks nothing.
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;

bool InsideButton(std::intptr_t lParam) {
    const auto x = static_cast<std::int16_t>(lParam & 0xFFFF);
    const auto y = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    return x >= 0 && x < ButtonWidth && y >= 0 && y < ButtonHeight;
}

}  // namespace

class DialogRunner {
public:
    DialogRunner(Desk& desk, const Text& title, const Text& initialName)
        : impl_(*desk.impl_), editBox_(Utf16::FromUtf8(initialName)) {
        using namespace WordContract;
        dialog_ = impl_.Create(SaveAsDialogClass, title, 0);
        edit_ = impl_.Create(SaveAsEditClass, "", dialog_);
        save_ = impl_.Create(SaveAsButtonClass, SaveAsSaveButton, dialog_);
        cancel_ = impl_.Create(SaveAsButtonClass, "Cancel", dialog_);
        impl_.Show(dialog_);
    }
    ~DialogRunner() { impl_.Destroy(dialog_); }
    DialogRunner(const DialogRunner&) = delete;
    DialogRunner& operator=(const DialogRunner&) = delete;

    std::optional<Text> Run(std::chrono::milliseconds timeLimit, std::stop_token stop) {
        const auto deadline = std::chrono::steady_clock::now() + timeLimit;
        while (const auto message = impl_.NextMessage(deadline, stop)) {
            const WindowHandle clicked = Handle(*message);
            if (clicked == save_) return editBox_.Utf8();
            if (clicked == cancel_) return std::nullopt;
        }
        return std::nullopt;
    }

private:
    // Handles one message; the button it completed a click on, or 0.
    WindowHandle Handle(const PostedMessage& m) {
        if (m.window == edit_ && m.message == WmChar) {
            editBox_.Type(static_cast<char16_t>(m.wParam & 0xFFFF));
        } else if (m.window == save_ || m.window == cancel_) {
            if (m.message == WmLButtonDown) {
                pressed_ = InsideButton(m.lParam) ? m.window : 0;
            } else if (m.message == WmLButtonUp) {
                // A click is a press and a release on the same button.
                const bool click = pressed_ == m.window && InsideButton(m.lParam);
                pressed_ = 0;
                if (click) return m.window;
            }
        }
        return 0;
    }

    Desk::Impl& impl_;
    EditBox editBox_;
    WindowHandle dialog_ = 0, edit_ = 0, save_ = 0, cancel_ = 0;
    WindowHandle pressed_ = 0;
};

std::optional<Text> RunSaveAsDialog(Desk& desk, const Text& title, const Text& initialName,
                                    std::chrono::milliseconds timeLimit, std::stop_token stop) {
    DialogRunner dialog(desk, title, initialName);
    return dialog.Run(timeLimit, std::move(stop));
}

}  // namespace pendrel::desk
