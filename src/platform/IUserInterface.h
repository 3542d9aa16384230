#pragma once

#include "platform/CString.h"

class CDialogRecord;

// Answers of message boxes and dialogs, with the platform's numbers.
enum EDialogResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

enum class EMessageIcon { None, Information, Exclamation, Question, Stop };
enum class EMessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class EBeep { Default, Exclamation };

// The lines of the generation dialog that a run updates as it goes.
enum class EStatusLine { CurrentFile, CurrentTag, Log };

// Everything the core asks of the user goes through this interface: the GUI
// implements it with Qt, tests script it, the command-line tool answers
// without asking.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    virtual int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons)
        = 0;
    virtual void Beep(EBeep kind) = 0;
    // Runs the dialog of a record modally; IDOK or IDCANCEL.
    virtual int DoModal(CDialogRecord& record) = 0;
    // Asks where to save an untitled project (Save As); false when cancelled.
    // path holds a proposal and receives the native file name chosen.
    virtual bool PromptSavePath(std::string& path) = 0;

    // The progress bar and status lines of a running generation.
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int pos) = 0;
    virtual void StepProgress() = 0;
    virtual void SetStatusText(EStatusLine line, const CString& text) = 0;
};

// The title every application message box carries.
inline constexpr const char* kApplicationTitle = "Pagewell";
