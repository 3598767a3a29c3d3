#include <QApplication>

#include "app/Form1.h"
#include "platform/office/word/Word.h"
#include "platform/qt/Window.h"
