#pragma once

#include <vector>

#include "checker/CFinding.h"
#include "model/CSiteTree.h"

class CSpelling;

// Spelling over the whole site: one warning per object whose title or text
// holds words the dictionary (and the user's list) does not know.
class CSpellCheck {
public:
    static void Run(const CSiteTree& tree, CSpelling& spelling, std::vector<CFinding>& findings);
    // Whether a byte of a stored (Windows-1252) text is a letter.
    static bool IsStoredLetter(char c);
};
