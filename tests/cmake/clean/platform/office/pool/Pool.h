#pragma once
#include "../formats/Sniffer.h"
#include "platform/office/protocol/Protocol.h"
