#pragma once
#include <pthread.h>
#include <QtCore/QTimer>
