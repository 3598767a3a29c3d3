#pragma once
#include <chrono>

#include "platform/WordContract.h"

namespace pendrel {

// How long a conversion waits on the printer. Tests pass short ones.
struct WaitLimits {
    // For the printer's "Save As" dialog to show up after PrintOut.
    std::chrono::milliseconds dialog = std::chrono::seconds(60);
    // For the PDF to be written once the dialog is answered: as long as the printer may take,
    // and a margin for the file to reach the disk.
    std::chrono::milliseconds output = WordContract::PrinterRenderLimit + std::chrono::seconds(30);
    // How long the PDF's size must hold before the file counts as written (where the system
    // can also tell that the printer has closed the file, that is the surer sign). Every
    // document pays it once.
    std::chrono::milliseconds settle = std::chrono::milliseconds(10);
};

}  // namespace pendrel
