#include "dialogs/RecordDialogs.h"

#include "app/CDialogRegistry.h"
#include "dialogs/CDocInfoDialog.h"
#include "dialogs/CDocPropertiesDialog.h"
#include "dialogs/CGenerateDialog.h"
#include "dialogs/CSiteSettingsDialog.h"
#include "generator/CSiteNames.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/IUserInterface.h"

namespace {

int ResultOf(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

// The type of the object whose properties record is info: the current
// object's as a rule, else the one found in the tree; a page when the record
// belongs to no object of the live document.
uint32_t TypeOfObject(const CDocInfo& info)
{
    if (g_pDocument == nullptr)
        return NODE_PAGE;
    if (g_pDocument->m_pCurrent != nullptr && &g_pDocument->m_pCurrent->m_info == &info)
        return g_pDocument->m_pCurrent->m_nType;
    for (HTREEITEM hItem = g_pDocument->m_tree.GetRootItem(); hItem != nullptr;
         hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (const CNode* pNode = hItem->GetNode(); pNode != nullptr && &pNode->m_info == &info)
            return pNode->m_nType;
    }
    return NODE_PAGE;
}

} // namespace

void RegisterRecordDialogs(CDialogRegistry& registry)
{
    registry.Register(CDocProperties::IDD, [](CDialogRecord& record, QWidget* pParent) {
        CDocPropertiesDialog dialog(static_cast<CDocProperties&>(record), pParent);
        return ResultOf(dialog);
    });
    registry.Register(CDocInfo::IDD, [](CDialogRecord& record, QWidget* pParent) {
        auto& info = static_cast<CDocInfo&>(record);
        CDocProperties* pProject = g_pDocument != nullptr ? &g_pDocument->m_props : nullptr;
        CDocInfoDialog dialog(info, TypeOfObject(info), pProject, pParent);
        return ResultOf(dialog);
    });
    registry.Register(CSiteSettings::IDD, [](CDialogRecord& record, QWidget* pParent) {
        CSiteSettingsDialog dialog(static_cast<CSiteSettings&>(record), pParent);
        return ResultOf(dialog);
    });
    registry.Register(CGenerateDlg::IDD, [](CDialogRecord& record, QWidget* pParent) {
        if (g_pDocument == nullptr)
            return int { IDCANCEL };
        CPagewellDoc& document = *g_pDocument;
        CGenerateDialog dialog(
            static_cast<CGenerateDlg&>(record),
            [&document](CGenerateDlg& settings) { settings.OnGenerate(document); }, pParent);
        dialog.SetHomePageName([&document](const CGenerateDlg& settings) {
            const HTREEITEM hRoot = document.m_tree.GetRootItem();
            if (hRoot == nullptr)
                return CString();
            const CSiteNames names(
                hRoot, settings.m_bLowercase != 0, settings.GetSiteSettings().GetPageExtension());
            return names.GetPageFile(names.GetTag(hRoot));
        });
        return ResultOf(dialog);
    });
}
