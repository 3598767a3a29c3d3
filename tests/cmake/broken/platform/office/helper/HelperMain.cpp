#include "../word/WordApplication.h"
#include "platform/office/pool/RenderPool.h"
