#pragma once

#include <vector>

#include "platform/CSilentUserInterface.h"

// A user interface that keeps every message box's text instead of showing it
// and takes its default answer, so that a run can go on while the user types
// and what it would have reported can be shown in place.
class CCollectingUserInterface : public CSilentUserInterface {
public:
    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override
    {
        m_messages.push_back(caption + ": " + text);
        return CSilentUserInterface::MessageBox(text, caption, icon, buttons);
    }

    std::vector<CString> m_messages;
};
