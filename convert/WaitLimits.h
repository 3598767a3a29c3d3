#pragma once
#include <chrono>

namespace pendrel {

// How long a conversion waits on the printer. Tests pass short ones.
struct WaitLimits {
    // For the printer's "Save As" dialog to show up after PrintOut.
    std::chrono::milliseconds dialog = std::chrono::seconds(60);
    // For the PDF to be written once the dialog is answered; the embedded engine may render
    // for up to 300 s.
    std::chrono::milliseconds output = std::chrono::seconds(330);
    // How long the PDF's size must hold before the file counts as written (where the system
    // can also tell that the printer has closed the file, that is the surer sign). Every
    // document pays it once.
    std::chrono::milliseconds settle = std::chrono::milliseconds(10);
};

}  // namespace pendrel
