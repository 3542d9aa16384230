#include "tree/CPagewellView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include "app/CommandIds.h"
#include "app/QtText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/NodeTypes.h"
#include "platform/IUserInterface.h"
#include "tree/CSiteTreeModel.h"
#include "tree/CTreeImages.h"

CPagewellView::CPagewellView(CPagewellDoc& doc, QWidget* pParent)
    : QTreeView(pParent)
    , m_doc(doc)
    , m_pModel(new CSiteTreeModel(doc, this))
    , m_commands(doc, *this)
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
    m_renameTimer.setSingleShot(true);
    connect(&m_renameTimer, &QTimer::timeout, this, &CPagewellView::OnRenameDelay);
    m_scrollTimer.setInterval(kScrollPeriodMs);
    connect(&m_scrollTimer, &QTimer::timeout, this, &CPagewellView::OnAutoScroll);
    connect(m_pModel, &QAbstractItemModel::modelAboutToBeReset, this, &CPagewellView::OnItemsGoing);
    connect(m_pModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, &CPagewellView::OnItemsGoing);
    // The tree keeps which items are open, so that a branch put back by an
    // undo opens as it was.
    connect(this, &QTreeView::expanded, this, [](const QModelIndex& at) {
        if (HTREEITEM h = CSiteTreeModel::ItemOf(at))
            CSiteTree::SetExpanded(h, true);
    });
    connect(this, &QTreeView::collapsed, this, [](const QModelIndex& at) {
        if (HTREEITEM h = CSiteTreeModel::ItemOf(at))
            CSiteTree::SetExpanded(h, false);
    });
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this, &CPagewellView::OpenAsKept);
    // Lines between the items: the Windows style draws them, Fusion does not.
    if (QStyle* pLines = QStyleFactory::create(QStringLiteral("Windows"))) {
        pLines->setParent(this);
        setStyle(pLines);
    }
}

CPagewellView::~CPagewellView()
{
    // The model goes before the view's base detaches from it.
    setModel(nullptr);
}

void CPagewellView::OnUpdate(CView* /*pSender*/, long lHint)
{
    // Whatever stores the editors (save, generate, new, open, close) takes a
    // rename still open in place as well, as Enter would.
    if (lHint != HINT_RELOAD)
        CommitLabelEdit();
    viewport()->update();
}

void CPagewellView::CommitLabelEdit()
{
    if (state() != EditingState)
        return;
    const auto editors = viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    for (QLineEdit* pEditor : editors) {
        if (pEditor->isHidden())
            continue; // closed, waiting to be deleted
        commitData(pEditor);
        closeEditor(pEditor, QAbstractItemDelegate::NoHint);
    }
}

void CPagewellView::OnInitialUpdate()
{
    setIndentation(kIndent);
    m_doc.m_pCurrent = m_doc.CreateRootPage()->GetNode();
    m_doc.UpdateAllViews(this, HINT_RELOAD);
    SelectItem(m_doc.m_tree.GetRootItem());
}

bool CPagewellView::OnUpdateCommand(int nId, CCmdUI& state)
{
    switch (nId) {
    case ID_INSERT_PAGE:
    case ID_INSERT_PARAGRAPH:
    case ID_INSERT_LINK:
    case ID_OBJECT_CONVERT:
        state.Enable(!m_bDragging);
        return true;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        // The project's history waits for the end of a drag; otherwise the
        // document handles them.
        return m_bDragging;
    default:
        return false;
    }
}

void CPagewellView::OnCommand(int nId)
{
    if (m_bDragging)
        return;
    switch (nId) {
    case ID_INSERT_PAGE:
        InsertObject(NODE_PAGE);
        break;
    case ID_INSERT_PARAGRAPH:
        InsertObject(NODE_PARAGRAPH);
        break;
    case ID_INSERT_LINK:
        InsertObject(NODE_LINK);
        break;
    case ID_OBJECT_CONVERT:
        // The item's pictures follow the new type through the model.
        m_commands.OnConvert();
        break;
    default:
        break;
    }
}

void CPagewellView::InsertObject(uint32_t type)
{
    HTREEITEM hSelected = GetSelectedItem();
    const size_t nBefore = m_doc.m_tree.GetCount();
    m_commands.InsertObject(type);
    // The selection stays; its item opens so that a new child shows.
    if (hSelected != nullptr && m_doc.m_tree.GetCount() != nBefore)
        expand(m_pModel->IndexOf(hSelected));
}

void CPagewellView::DeleteCurrent()
{
    emit deleteRequested();
    m_commands.DeleteCurrent();
}

HTREEITEM CPagewellView::GetSelectedItem() const
{
    return CSiteTreeModel::ItemOf(currentIndex());
}

void CPagewellView::OpenAsKept(const QModelIndex& parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        for (HTREEITEM h : CTreeBranch::Walk(CSiteTreeModel::ItemOf(m_pModel->index(row, 0, parent)))) {
            if (h->IsExpanded())
                expand(m_pModel->IndexOf(h));
        }
    }
}

void CPagewellView::SelectItem(HTREEITEM hItem)
{
    // The selected item is always in sight.
    MakeVisible(hItem);
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

bool CPagewellView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent)
{
    if (trigger != SelectedClicked)
        return QTreeView::edit(index, trigger, pEvent);
    // A click on the selected item renames it once no double click can
    // follow, and only if the user is still there.
    if (m_bDoubleClicked || !index.isValid() || (editTriggers() & SelectedClicked) == 0) {
        m_bDoubleClicked = false;
        return false;
    }
    m_renameIndex = index;
    m_renameTimer.start(QApplication::doubleClickInterval());
    return true;
}

void CPagewellView::OnRenameDelay()
{
    const QModelIndex index = m_renameIndex;
    m_renameIndex = QPersistentModelIndex();
    if (!index.isValid() || !hasFocus() || index != currentIndex() || m_bDragging || state() != NoState)
        return;
    QTreeView::edit(index, AllEditTriggers, nullptr);
}

void CPagewellView::CancelDelayedRename()
{
    m_renameTimer.stop();
    m_renameIndex = QPersistentModelIndex();
}

void CPagewellView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    CancelDelayedRename();
    QTreeView::currentChanged(current, previous);
    OnSelChanged(current);
}

void CPagewellView::OnSelChanged(const QModelIndex& current)
{
    // The tree is being cleared or rebuilt, or a branch is moving.
    if (m_doc.m_bBusy != 0 || m_bMoving)
        return;
    m_doc.UpdateAllViews(this, HINT_STORE);
    HTREEITEM h = CSiteTreeModel::ItemOf(current);
    m_doc.m_pCurrent = h != nullptr ? CSiteTree::GetItemData(h) : nullptr;
    m_doc.UpdateAllViews(this, HINT_RELOAD);
}

void CPagewellView::keyPressEvent(QKeyEvent* pEvent)
{
    if (m_bDragging) {
        // Keys do not reach the tree while an item is dragged; Escape
        // cancels the drag.
        if (pEvent->key() == Qt::Key_Escape)
            CancelDrag();
        pEvent->accept();
        return;
    }
    // The keypad's Delete key deletes as well.
    if (pEvent->key() == Qt::Key_Delete && (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && state() != EditingState) {
        pEvent->accept();
        DeleteCurrent();
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}

void CPagewellView::mousePressEvent(QMouseEvent* pEvent)
{
    if (m_bDragging) {
        pEvent->accept();
        return;
    }
    CancelDelayedRename();
    m_hPressItem = nullptr;
    m_pPendingPress.reset();
    // Only the left button acts on the tree; a right click changes nothing.
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    if (pEvent->type() == QEvent::MouseButtonPress)
        m_bDoubleClicked = false;
    const QPoint at = pEvent->position().toPoint();
    const QModelIndex index = indexAt(at);
    // Below the last row there is nothing to pick: the current object keeps
    // its highlight, as the editors and the commands keep it.
    if (state() != EditingState && !index.isValid()) {
        setFocus(Qt::MouseFocusReason);
        pEvent->accept();
        return;
    }
    if (state() == EditingState || !index.isValid() || !visualRect(index).contains(at)) {
        QTreeView::mousePressEvent(pEvent);
        return;
    }
    // A press on an item may begin a drag, which must not select it: the
    // press takes effect when the button comes up without a drag.
    m_hPressItem = CSiteTreeModel::ItemOf(index);
    m_pressPos = at;
    m_pPendingPress.reset(static_cast<QMouseEvent*>(pEvent->clone()));
    pEvent->accept();
}

void CPagewellView::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint at = pEvent->position().toPoint();
    if (m_bDragging) {
        // The button came up where the view did not see it.
        if ((pEvent->buttons() & Qt::LeftButton) == 0)
            CancelDrag();
        else
            DragMove(at);
        pEvent->accept();
        return;
    }
    if (m_hPressItem != nullptr && (pEvent->buttons() & Qt::LeftButton) != 0) {
        // Until the drag begins, moving selects nothing.
        if ((at - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            HTREEITEM hItem = m_hPressItem;
            m_hPressItem = nullptr;
            m_pPendingPress.reset();
            BeginDrag(hItem, at);
        }
        pEvent->accept();
        return;
    }
    QTreeView::mouseMoveEvent(pEvent);
}

void CPagewellView::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_hPressItem = nullptr;
    if (m_bDragging) {
        if (pEvent->button() == Qt::LeftButton)
            Drop();
        pEvent->accept();
        return;
    }
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    if (const std::unique_ptr<QMouseEvent> pPress = std::move(m_pPendingPress))
        QTreeView::mousePressEvent(pPress.get());
    QTreeView::mouseReleaseEvent(pEvent);
}

void CPagewellView::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (m_bDragging || pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    // The click before it does not rename, nor does the release after it.
    CancelDelayedRename();
    m_bDoubleClicked = true;
    QTreeView::mouseDoubleClickEvent(pEvent);
}

bool CPagewellView::event(QEvent* pEvent)
{
    // Another window took the mouse.
    if (pEvent->type() == QEvent::WindowDeactivate && m_bDragging)
        CancelDrag();
    return QTreeView::event(pEvent);
}

void CPagewellView::focusOutEvent(QFocusEvent* pEvent)
{
    CancelDelayedRename();
    if (m_bDragging
        && (pEvent->reason() == Qt::ActiveWindowFocusReason || pEvent->reason() == Qt::PopupFocusReason))
        CancelDrag();
    QTreeView::focusOutEvent(pEvent);
}

void CPagewellView::hideEvent(QHideEvent* pEvent)
{
    CancelDrag();
    QTreeView::hideEvent(pEvent);
}

QPixmap CPagewellView::DragPixmap(HTREEITEM hItem) const
{
    const CNode* pNode = CSiteTree::GetItemData(hItem);
    const uint32_t nType = pNode != nullptr ? pNode->m_nType : NODE_PAGE;
    const QString text = ToQString(CSiteTree::GetItemText(hItem));
    const QFontMetrics metrics = fontMetrics();
    const QSize iconSize(14, 12);
    const int nGap = 4;
    const QSize size(iconSize.width() + nGap + metrics.horizontalAdvance(text) + 2,
        std::max(iconSize.height(), metrics.height()));
    const qreal scale = devicePixelRatioF();
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(0.75);
    CTreeImages::Image(static_cast<int>(GetImageIndex(nType, 0, IMAGE_DRAG)))
        .paint(&painter, QRect(QPoint(0, (size.height() - iconSize.height()) / 2), iconSize));
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    painter.drawText(QRect(iconSize.width() + nGap, 0, size.width(), size.height()), Qt::AlignVCenter, text);
    return pixmap;
}

void CPagewellView::MakeVisible(HTREEITEM hItem)
{
    // Opens collapsed parents and scrolls as little as needed.
    if (hItem == nullptr)
        return;
    for (HTREEITEM hParent = CSiteTree::GetParentItem(hItem); hParent != nullptr;
         hParent = CSiteTree::GetParentItem(hParent))
        expand(m_pModel->IndexOf(hParent));
    scrollTo(m_pModel->IndexOf(hItem), EnsureVisible);
}

void CPagewellView::BeginDrag(HTREEITEM hItem, const QPoint& at)
{
    m_bDragging = true;
    m_hDragItem = hItem;
    m_hDropTarget = nullptr;
    // The view's own press handling (selecting by dragging) ends here.
    setState(NoState);
    // The hot spot is the picture's top left corner.
    m_pDragImage = new QLabel(viewport());
    m_pDragImage->setObjectName(QStringLiteral("dragImage"));
    m_pDragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pDragImage->setPixmap(DragPixmap(hItem));
    m_pDragImage->adjustSize();
    m_pDragImage->move(at);
    m_pDragImage->show();
    m_pDragImage->raise();
    // Moves without the button tell that it came up outside the view.
    m_bHadMouseTracking = viewport()->hasMouseTracking();
    viewport()->setMouseTracking(true);
    MakeVisible(hItem);
    m_pModel->SetImageMode(hItem, IMAGE_DRAG);
    m_scrollTimer.start();
}

void CPagewellView::DragMove(const QPoint& at)
{
    if (m_pDragImage != nullptr)
        m_pDragImage->move(at);
    // Over empty space the last target stays.
    if (HTREEITEM hItem = CSiteTreeModel::ItemOf(indexAt(at))) {
        m_pModel->SetDropHighlight(hItem);
        m_hDropTarget = hItem;
    }
}

void CPagewellView::OnAutoScroll()
{
    if (!m_bDragging || m_hDropTarget == nullptr)
        return;
    HTREEITEM hTarget = m_hDropTarget;
    MakeVisible(hTarget);
    const QModelIndex target = m_pModel->IndexOf(hTarget);
    // The first and the last item the window shows, partly or wholly.
    const QModelIndex first = indexAt(QPoint(1, 0));
    QModelIndex last = indexAt(QPoint(1, viewport()->height() - 1));
    if (!last.isValid()) {
        // The outline ends inside the window: its last item.
        last = target;
        for (QModelIndex below = indexBelow(last); below.isValid(); below = indexBelow(below))
            last = below;
    }
    if (target == first) {
        HTREEITEM hPrev = CSiteTree::GetPrevSiblingItem(hTarget);
        MakeVisible(hPrev != nullptr ? hPrev : CSiteTree::GetParentItem(hTarget));
    } else if (target == last) {
        // One step down: the next item of the outline; at a collapsed item
        // without a next sibling, its first child (which opens it).
        const QModelIndex below = indexBelow(target);
        const bool bOpenFirst = CSiteTree::GetNextSiblingItem(hTarget) == nullptr && !isExpanded(target)
            && CSiteTree::GetChildItem(hTarget) != nullptr;
        if (bOpenFirst)
            MakeVisible(CSiteTree::GetChildItem(hTarget));
        else if (below.isValid())
            scrollTo(below, EnsureVisible);
    }
}

void CPagewellView::Drop()
{
    HTREEITEM hDrag = m_hDragItem;
    HTREEITEM hTarget = m_hDropTarget;
    m_scrollTimer.stop();
    if (m_pDragImage != nullptr)
        m_pDragImage->hide();
    if (CTreeCommands::IsDropRefused(hDrag, hTarget)) {
        m_pModel->SetDropHighlight(nullptr);
        m_doc.GetUserInterface().Beep(EBeep::Default);
    } else {
        m_pModel->SetImageMode(hTarget, IMAGE_DROP);
        m_pModel->SetDropHighlight(nullptr);
        // Where the selection goes if it lies in the moved branch: never to
        // one of the new items.
        HTREEITEM hSelected = GetSelectedItem();
        HTREEITEM hStay = nullptr;
        if (hSelected != nullptr && CTreeCommands::IsAncestor(hSelected, hDrag)) {
            hStay = CSiteTree::GetNextSiblingItem(hDrag);
            if (hStay == nullptr)
                hStay = CSiteTree::GetPrevSiblingItem(hDrag);
            if (hStay == nullptr)
                hStay = CSiteTree::GetParentItem(hDrag);
        }
        // The selection protocol runs once, for the item selected in the
        // end; the dialog's taking the focus does not end the drag.
        m_bMoving = true;
        m_bDropDialog = true;
        const bool bMoved = m_commands.MoveBranch(hDrag, hTarget);
        m_bDropDialog = false;
        if (bMoved) {
            m_hDragItem = nullptr;
            if (hStay != nullptr)
                setCurrentIndex(m_pModel->IndexOf(hStay));
        }
        m_bMoving = false;
        hSelected = GetSelectedItem();
        const CNode* pSelected = hSelected != nullptr ? CSiteTree::GetItemData(hSelected) : nullptr;
        if (pSelected != m_doc.m_pCurrent)
            OnSelChanged(currentIndex());
    }
    EndDrag();
}

void CPagewellView::OnItemsGoing()
{
    if (m_bMoving)
        return;
    m_hPressItem = nullptr;
    m_pPendingPress.reset();
    CancelDelayedRename();
    if (!m_bDragging)
        return;
    // The project is being replaced or changed by someone else: the drag is
    // abandoned without marking anything modified.
    const bool bModified = m_doc.IsModified();
    EndDrag();
    m_doc.SetModifiedFlag(bModified);
}

void CPagewellView::CancelDrag()
{
    // The position dialog of a drop takes the focus and the activation; the
    // drag ends when it closes.
    if (m_bDragging && !m_bDropDialog)
        EndDrag();
}

void CPagewellView::EndDrag()
{
    m_scrollTimer.stop();
    delete m_pDragImage;
    m_pModel->SetDropHighlight(nullptr);
    m_pModel->SetImageMode(m_hDragItem, IMAGE_NORMAL);
    m_pModel->SetImageMode(m_hDropTarget, IMAGE_NORMAL);
    m_bDragging = false;
    m_hDragItem = nullptr;
    m_hDropTarget = nullptr;
    m_hPressItem = nullptr;
    viewport()->setMouseTracking(m_bHadMouseTracking);
    setState(NoState);
    // Whatever came of the drag.
    m_doc.SetModifiedFlag(true);
}
