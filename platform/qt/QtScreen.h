#pragma once
// The primary screen's size in twips.
#include "platform/Desktop.h"

namespace pendrel::qt {

class QtScreen : public Screen {
public:
    float WidthTwips() const override;
    float HeightTwips() const override;
};

}  // namespace pendrel::qt
