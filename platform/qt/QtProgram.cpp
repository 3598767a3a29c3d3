#include "platform/qt/QtProgram.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace pendrel::qt {

Text QtProgram::Folder() const {
    return QCoreApplication::applicationDirPath().toStdString();
}

void QtProgram::End() {
    for (auto& hook : hooks_) {
        try {
            hook();
        } catch (...) {
            // Ending is not refused: a hook that fails doesn't stop the others or the end.
        }
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace pendrel::qt
