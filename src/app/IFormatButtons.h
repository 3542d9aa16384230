#pragma once

#include <cstdint>

// The nine format buttons of the toolbar, which the editors keep in step
// with the formatting word they show.
class IFormatButtons {
public:
    virtual ~IFormatButtons() = default;
    // Presses exactly the buttons whose condition the word meets; a word of 0
    // releases all nine.
    virtual void UpdateFormatButtons(uint32_t nFormat) = 0;
};
