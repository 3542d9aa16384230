#pragma once

#include <cstdint>

// The rule of the nine format buttons: which are pressed for a formatting
// word (alignment bits 0-2, style bits 3-6).
class CFormatButtons {
public:
    static constexpr int kButtons[9] = { 32778, 32779, 32781, 32793, 32791, 32792, 32795, 32796, 32798 };

    // Whether the button of a command is pressed for the word; false for a
    // command that is not one of the nine.
    static bool IsPressed(int nCommandId, uint32_t nFormat);
    static bool IsFormatButton(int nCommandId);
};
