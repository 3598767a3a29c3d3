#include <LibreOfficeKit/LibreOfficeKit.h>

#include "platform/office/formats/Sniffer.h"
#include "platform/office/protocol/Protocol.h"
