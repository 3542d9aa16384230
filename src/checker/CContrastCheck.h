#pragma once

#include <cstdint>

#include "checker/ICheck.h"

// The text, link and visited-link colours of every page against its
// background colour (the colours the COLOR macro writes into the page): a
// contrast below 4.5:1 is hard to read. Each pair of colours is reported
// once, at the first page using it.
class CContrastCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;

    static constexpr double kMinContrast = 4.5;
    // The contrast ratio of two colours (COLORREF: red in the low byte), from
    // 1 to 21, as the web's accessibility guidelines compute it from the
    // colours' relative luminance.
    static double GetContrast(uint32_t clrA, uint32_t clrB);
};
