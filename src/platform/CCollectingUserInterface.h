#pragma once

#include <vector>

#include "platform/CSilentUserInterface.h"

// A silent user interface that keeps the message boxes it was shown, for
// callers that show problems in place instead of in modal boxes (a preview).
class CCollectingUserInterface : public CSilentUserInterface {
public:
    struct CMessage {
        CString strText;
        CString strCaption;
        EMessageIcon icon;
    };

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override
    {
        m_messages.push_back({ text, caption, icon });
        return CSilentUserInterface::MessageBox(text, caption, icon, buttons);
    }

    std::vector<CMessage> m_messages;
};
