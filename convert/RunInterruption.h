#pragma once
// What a run must undo when the program ends in the middle of it (the window closed, the
// session ending): the PDF being printed over is put back before the program goes.
#include "convert/OldPdf.h"

namespace pendrel {

class RunInterruption {
public:
    // While a document prints over an old PDF.
    class Printing {
    public:
        Printing(RunInterruption* interruption, OldPdf& old) : interruption_(interruption) {
            if (interruption_) interruption_->printingOver_ = &old;
        }
        ~Printing() {
            if (interruption_) interruption_->printingOver_ = nullptr;
        }
        Printing(const Printing&) = delete;
        Printing& operator=(const Printing&) = delete;

    private:
        RunInterruption* interruption_;
    };

    // The program is ending now.
    void Ended() noexcept {
        if (printingOver_) printingOver_->PutBack();
    }

private:
    OldPdf* printingOver_ = nullptr;
};

}  // namespace pendrel
