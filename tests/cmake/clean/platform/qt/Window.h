#pragma once
#include <unistd.h>
#include <QWidget>

#include "platform/Text.h"
