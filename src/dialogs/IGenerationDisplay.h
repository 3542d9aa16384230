#pragma once

#include "platform/CString.h"
#include "platform/IUserInterface.h"

// Where a generation run shows its progress: the progress bar and the status
// lines of the open "Generate HTML pages" dialog. The dialog registers itself
// while its window exists, so that a user interface that receives a run's
// progress calls can pass them on to Active().
class IGenerationDisplay {
public:
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int pos) = 0;
    virtual void StepProgress() = 0;
    virtual void SetStatusText(EStatusLine line, const CString& text) = 0;

    // The open generation dialog, or null when none is open.
    static IGenerationDisplay* Active() { return s_pActive; }

protected:
    IGenerationDisplay() = default;
    ~IGenerationDisplay() = default;
    IGenerationDisplay(const IGenerationDisplay&) = delete;
    IGenerationDisplay& operator=(const IGenerationDisplay&) = delete;

    // The display that Active() returns from now on (null for none).
    static void SetActive(IGenerationDisplay* pDisplay) { s_pActive = pDisplay; }

private:
    static inline IGenerationDisplay* s_pActive = nullptr;
};
