#pragma once

#include <QDockWidget>
#include <vector>

#include "checker/CFinding.h"
#include "model/CTreeItem.h"

class CPagewellDoc;
class CPagewellView;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The findings of the site checks, one row each (severity, object, message,
// hint). The list is made when asked for (Tools > Check Site or its Check
// Again button), never while the user types; activating a row selects its
// object in the tree.
class CCheckDock : public QDockWidget {
    Q_OBJECT
public:
    CCheckDock(CPagewellDoc& doc, CPagewellView& tree, QWidget* pParent);

    // Stores the editors' texts into the document, checks it as it is (saved
    // or not), lists the findings and shows the dock.
    void RunCheck();

    QTreeWidget* GetList() const { return m_pList; }

    // The item at the path of tags (the first of equal siblings), or null
    // when the tree no longer holds it.
    static HTREEITEM FindItem(HTREEITEM hRoot, const std::vector<CString>& path);

private:
    void ShowFindings();
    void OnActivated(QTreeWidgetItem* pRow);

    CPagewellDoc& m_doc;
    CPagewellView& m_tree;
    QTreeWidget* m_pList = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pCheckAgain = nullptr;
    std::vector<CFinding> m_findings;
};
