#include "platform/qt/QtScreen.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/WindowSurface.h"

namespace pendrel::qt {

float QtScreen::WidthTwips() const {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().width());
}

float QtScreen::HeightTwips() const {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().height());
}

}  // namespace pendrel::qt
