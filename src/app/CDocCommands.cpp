#include "app/CDocCommands.h"

#include <QApplication>

#include "app/CommandIds.h"
#include "app/QtText.h"
#include "dialogs/CPublishDialog.h"
#include "editors/CEditorSpelling.h"
#include "model/CPagewellDoc.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"
#include "undo/CUndoHistory.h"

CDocCommands::CDocCommands(CPagewellDoc& doc, CUndoHistory* pHistory)
    : m_doc(doc)
    , m_pHistory(pHistory)
{ }

bool CDocCommands::OnUpdateCommand(int nId, CCmdUI& state)
{
    switch (nId) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_DOC_PROPERTIES:
    case ID_SITE_SETTINGS:
    case ID_FILE_GENERATE:
    case ID_FILE_PUBLISH:
        return true;
    case ID_OBJECT_PROPERTIES:
        state.Enable(m_doc.m_pCurrent != nullptr);
        return true;
    case ID_EDIT_UNDO:
        if (m_pHistory == nullptr)
            return false;
        state.Enable(m_pHistory->CanUndo());
        state.SetText(m_pHistory->UndoText());
        return true;
    case ID_EDIT_REDO:
        if (m_pHistory == nullptr)
            return false;
        state.Enable(m_pHistory->CanRedo());
        state.SetText(m_pHistory->RedoText());
        return true;
    default:
        return false;
    }
}

void CDocCommands::OnCommand(int nId)
{
    switch (nId) {
    case ID_FILE_SAVE:
        if (m_doc.DoFileSave() && m_onSaved)
            m_onSaved(m_doc.GetPathName());
        break;
    case ID_FILE_SAVE_AS: {
        m_doc.UpdateAllViews(nullptr, HINT_STORE);
        std::string path = m_doc.GetPathName().empty() ? m_doc.GetTitle() + ".pwl" : m_doc.GetPathName();
        if (m_doc.GetUserInterface().PromptSavePath(path) && m_doc.DoFileSaveAs(path) && m_onSaved)
            m_onSaved(m_doc.GetPathName());
        break;
    }
    case ID_DOC_PROPERTIES:
        m_doc.OnDocProperties();
        break;
    case ID_OBJECT_PROPERTIES:
        m_doc.OnObjectProperties();
        break;
    case ID_SITE_SETTINGS:
        m_doc.OnSiteSettings();
        // Spelling follows a new language at once.
        CEditorSpelling::Instance().FollowLanguage(
            ToQString(m_doc.m_dlgGenerate.GetSiteSettings().m_strLang));
        break;
    case ID_FILE_GENERATE:
        m_doc.UpdateAllViews(nullptr, HINT_STORE);
        m_doc.OnGenerate();
        break;
    case ID_FILE_PUBLISH: {
        m_doc.UpdateAllViews(nullptr, HINT_STORE);
        CPublishDialog dialog(m_doc, QApplication::activeWindow());
        dialog.exec();
        break;
    }
    case ID_EDIT_UNDO:
        m_pHistory->Undo();
        break;
    case ID_EDIT_REDO:
        m_pHistory->Redo();
        break;
    default:
        break;
    }
}
