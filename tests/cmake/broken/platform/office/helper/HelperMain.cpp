#include "../word/WordApplication.h"
#include "platform/office/pool/PrintSpooler.h"
