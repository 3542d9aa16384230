#pragma once

#include <QString>

// What the user sees of a command: its name on a button (for accessibility
// and the toolbar's own text), the prompt of the string table that the status
// bar shows while the pointer is over it, the tool tip (the part after "\n";
// the program's own commands have none) and the icon resource.
struct CCommandInfo {
    int nId;
    const char* pszName;
    const char* pszPrompt; // "prompt\ntip" as in the string table; null: none
    const char* pszIcon; // ":/icons/....svg" or null
};

class CCommandTable {
public:
    // Null for an unknown command.
    static const CCommandInfo* Find(int nId);
    // The status-bar prompt (before any "\n"); empty when there is none.
    static QString Prompt(int nId);
    // The tool tip (after the "\n"); empty when there is none.
    static QString ToolTip(int nId);
    // The toolbar's buttons in order; 0 stands for a separator.
    static const int* ToolbarButtons(int& nCount);
};

// The status bar's text while nothing is being pointed at.
inline constexpr const char* kIdlePrompt = "Ready";
