#include "tree/CPagewellView.h"

#include <QKeyEvent>

#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/NodeTypes.h"
#include "tree/CSiteTreeModel.h"

CPagewellView::CPagewellView(CPagewellDoc& doc, QWidget* pParent)
    : QTreeView(pParent)
    , m_doc(doc)
    , m_pModel(new CSiteTreeModel(doc, this))
{
    setObjectName(QStringLiteral("siteTree"));
    setAccessibleName(QStringLiteral("Site tree"));
    setModel(m_pModel);
    setHeaderHidden(true);
    setIndentation(kIndent);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(false);
    // A right click does nothing.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

CPagewellView::~CPagewellView()
{
    // The model goes before the view's base detaches from it.
    setModel(nullptr);
}

void CPagewellView::OnUpdate(CView* /*pSender*/, long /*lHint*/)
{
    viewport()->update();
}

void CPagewellView::OnInitialUpdate()
{
    setIndentation(kIndent);
    m_doc.m_pCurrent = m_doc.CreateRootPage()->GetNode();
    m_doc.UpdateAllViews(this, HINT_RELOAD);
    SelectItem(m_doc.m_tree.GetRootItem());
}

bool CPagewellView::OnUpdateCommand(int /*nId*/, CCmdUI& /*state*/)
{
    return false;
}

void CPagewellView::OnCommand(int /*nId*/) { }

HTREEITEM CPagewellView::GetSelectedItem() const
{
    return CSiteTreeModel::ItemOf(currentIndex());
}

void CPagewellView::SelectItem(HTREEITEM hItem)
{
    const QModelIndex at = m_pModel->IndexOf(hItem);
    if (at == currentIndex())
        OnSelChanged(at);
    else
        setCurrentIndex(at);
}

CNode* CPagewellView::GetCurrentPage() const
{
    for (HTREEITEM h = GetSelectedItem(); h != nullptr; h = CSiteTree::GetParentItem(h)) {
        CNode* pNode = CSiteTree::GetItemData(h);
        if (pNode == nullptr)
            return nullptr;
        if (pNode->m_nType == NODE_PAGE)
            return pNode;
    }
    return nullptr;
}

void CPagewellView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    OnSelChanged(current);
}

void CPagewellView::OnSelChanged(const QModelIndex& current)
{
    // The tree is being cleared or rebuilt.
    if (m_doc.m_bBusy != 0)
        return;
    m_doc.UpdateAllViews(this, HINT_STORE);
    HTREEITEM h = CSiteTreeModel::ItemOf(current);
    m_doc.m_pCurrent = h != nullptr ? CSiteTree::GetItemData(h) : nullptr;
    m_doc.UpdateAllViews(this, HINT_RELOAD);
}

void CPagewellView::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Delete && pEvent->modifiers() == Qt::NoModifier && state() != EditingState) {
        emit deleteRequested();
        pEvent->accept();
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}
