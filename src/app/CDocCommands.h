#pragma once

#include <functional>
#include <string>

#include "app/CCommandRouter.h"

class CPagewellDoc;
class CUndoHistory;

// The document's place on the command route: Save, Save As, the two
// properties commands, Generate, Publish, and Undo and Redo of the project's steps
// (an editor with typing to undo takes Undo before it). Save, Save As and Generate first have
// the editors store their text, so that nothing typed is left out.
class CDocCommands : public ICommandTarget {
public:
    explicit CDocCommands(CPagewellDoc& doc, CUndoHistory* pHistory = nullptr);

    // Called with the native path after a successful save (for the
    // recent-file list).
    std::function<void(const std::string&)> m_onSaved;

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

private:
    CPagewellDoc& m_doc;
    CUndoHistory* m_pHistory;
};
