#include "app/CCheckDock.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "checker/CSiteChecker.h"
#include "model/CPagewellDoc.h"
#include "platform/CClock.h"
#include "platform/CView.h"
#include "tree/CPagewellView.h"

namespace {

enum EColumn { ColSeverity, ColObject, ColMessage, ColHint, ColCount };
// The widest the object's path column starts.
constexpr int kMaxPathWidth = 240;

} // namespace

CCheckDock::CCheckDock(CPagewellDoc& doc, CPagewellView& tree, QWidget* pParent)
    : QDockWidget(QStringLiteral("Site Check"), pParent)
    , m_doc(doc)
    , m_tree(tree)
{
    setObjectName(QStringLiteral("checkDock"));
    setAccessibleName(QStringLiteral("Site check"));
    auto* pBody = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pBody);
    pLayout->setContentsMargins(4, 4, 4, 4);
    auto* pTop = new QHBoxLayout;
    m_pSummary = new QLabel(QStringLiteral("Not checked yet."), pBody);
    m_pSummary->setObjectName(QStringLiteral("checkSummary"));
    m_pSummary->setAccessibleName(QStringLiteral("Check summary"));
    m_pCheckAgain = new QPushButton(QStringLiteral("Check &Again"), pBody);
    m_pCheckAgain->setObjectName(QStringLiteral("checkAgain"));
    m_pCheckAgain->setAccessibleName(QStringLiteral("Check again"));
    pTop->addWidget(m_pSummary, 1);
    pTop->addWidget(m_pCheckAgain);
    pLayout->addLayout(pTop);

    m_pList = new QTreeWidget(pBody);
    m_pList->setObjectName(QStringLiteral("checkFindings"));
    m_pList->setAccessibleName(QStringLiteral("Findings"));
    m_pList->setColumnCount(ColCount);
    m_pList->setHeaderLabels({ QStringLiteral("Severity"), QStringLiteral("Object"),
        QStringLiteral("Problem"), QStringLiteral("What to do") });
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAlternatingRowColors(true);
    m_pList->setTextElideMode(Qt::ElideMiddle);
    QHeaderView* pHeader = m_pList->header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionResizeMode(ColSeverity, QHeaderView::ResizeToContents);
    pHeader->setSectionResizeMode(ColObject, QHeaderView::Interactive);
    pHeader->setSectionResizeMode(ColMessage, QHeaderView::Stretch);
    pHeader->setSectionResizeMode(ColHint, QHeaderView::Stretch);
    pLayout->addWidget(m_pList, 1);
    setWidget(pBody);

    connect(m_pCheckAgain, &QPushButton::clicked, this, &CCheckDock::RunCheck);
    connect(m_pList, &QTreeWidget::itemActivated, this, &CCheckDock::OnActivated);
}

void CCheckDock::RunCheck()
{
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    m_findings = CSiteChecker::Check(m_doc, { CClock::Now64(), 14 });
    ShowFindings();
    show();
    raise();
}

void CCheckDock::ShowFindings()
{
    m_pList->clear();
    size_t nErrors = 0;
    for (size_t i = 0; i < m_findings.size(); ++i) {
        const CFinding& finding = m_findings[i];
        nErrors += finding.severity == ESeverity::Error ? 1 : 0;
        auto* pRow = new QTreeWidgetItem(m_pList);
        pRow->setText(ColSeverity, QString::fromLatin1(finding.GetSeverityName()));
        pRow->setText(ColObject, ToQString(finding.GetPathText()));
        pRow->setText(ColMessage, ToQString(finding.message));
        pRow->setText(ColHint, ToQString(finding.hint));
        pRow->setToolTip(ColObject, ToQString(finding.GetPathText()));
        pRow->setToolTip(ColMessage, ToQString(finding.message));
        pRow->setToolTip(ColHint, ToQString(finding.hint));
        pRow->setData(ColSeverity, Qt::UserRole, static_cast<qulonglong>(i));
    }
    // A deep path does not push the problem out of sight: it is elided in
    // the middle (whole in its tool tip), and the problem and what to do
    // share the rest of the width.
    m_pList->resizeColumnToContents(ColObject);
    m_pList->setColumnWidth(ColObject, std::min(m_pList->columnWidth(ColObject), kMaxPathWidth));
    m_pSummary->setText(m_findings.empty()
            ? QStringLiteral("No problems found.")
            : QStringLiteral("%1 error(s), %2 warning(s).").arg(nErrors).arg(m_findings.size() - nErrors));
    if (m_pList->topLevelItemCount() > 0)
        m_pList->setCurrentItem(m_pList->topLevelItem(0));
}

HTREEITEM CCheckDock::FindItem(HTREEITEM hRoot, const std::vector<CString>& path)
{
    if (path.empty() || hRoot == nullptr || hRoot->GetLabel() != path.front())
        return nullptr;
    HTREEITEM hItem = hRoot;
    for (size_t i = 1; i < path.size() && hItem != nullptr; ++i) {
        HTREEITEM hChild = hItem->GetFirstChild();
        while (hChild != nullptr && hChild->GetLabel() != path[i])
            hChild = hChild->GetNextSibling();
        hItem = hChild;
    }
    return hItem;
}

void CCheckDock::OnActivated(QTreeWidgetItem* pRow)
{
    const size_t index = pRow->data(ColSeverity, Qt::UserRole).toULongLong();
    if (index >= m_findings.size())
        return;
    // The tree may have changed since the check: the object is found again
    // by its path, and a finding about the project selects nothing.
    const HTREEITEM hItem = FindItem(m_doc.m_tree.GetRootItem(), m_findings[index].path.GetTags());
    if (hItem == nullptr)
        return;
    m_tree.SelectItem(hItem);
    m_tree.setFocus(Qt::OtherFocusReason);
}
