#include "queue/Order.h"

Form1 order;
