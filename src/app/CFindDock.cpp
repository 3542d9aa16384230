#include "app/CFindDock.h"

#include <algorithm>

#include <QHeaderView>
#include <QTreeView>

#include "app/CFindResultsModel.h"

CFindDock::CFindDock(CSiteTree& tree, QWidget* pParent)
    : QDockWidget(QStringLiteral("Find Results"), pParent)
    , m_pModel(new CFindResultsModel(tree, this))
    , m_pView(new QTreeView(this))
{
    setObjectName(QStringLiteral("findDock"));
    setAccessibleName(QStringLiteral("Find results"));
    m_pView->setObjectName(QStringLiteral("findResults"));
    m_pView->setAccessibleName(QStringLiteral("Find results"));
    m_pView->setModel(m_pModel);
    m_pView->setRootIsDecorated(false);
    m_pView->setUniformRowHeights(true); // long lists stay quick
    m_pView->setAllColumnsShowFocus(true);
    m_pView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pView->header()->setStretchLastSection(true);
    m_pView->setColumnWidth(CFindResultsModel::ColumnObject, 220);
    m_pView->setColumnWidth(CFindResultsModel::ColumnField, 50);
    // A dock made narrow by its neighbours still shows some of each column.
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    setWidget(m_pView);
    connect(m_pView, &QTreeView::activated, this, [this](const QModelIndex& index) {
        const auto& hits = m_pModel->GetHits();
        if (index.isValid() && static_cast<size_t>(index.row()) < hits.size())
            emit hitActivated(hits[static_cast<size_t>(index.row())]);
    });
}

void CFindDock::SetResults(std::vector<CSearchHit> hits, size_t nTotal, const QString& what)
{
    const size_t nRows = hits.size();
    m_pModel->SetResults(std::move(hits));
    if (nTotal == 0)
        setWindowTitle(QStringLiteral("Find Results: %1 not found").arg(what));
    else if (nRows < nTotal)
        setWindowTitle(QStringLiteral("Find Results: %1, %2 matches (the first %3 listed)")
                           .arg(what)
                           .arg(nTotal)
                           .arg(nRows));
    else
        setWindowTitle(QStringLiteral("Find Results: %1, %2 %3")
                           .arg(what)
                           .arg(nTotal)
                           .arg(nTotal == 1 ? QStringLiteral("match") : QStringLiteral("matches")));
}

void CFindDock::FitColumns()
{
    const int nAvailable = m_pView->viewport()->width();
    m_pView->resizeColumnToContents(CFindResultsModel::ColumnField);
    m_pView->resizeColumnToContents(CFindResultsModel::ColumnObject);
    const int nPath = m_pView->columnWidth(CFindResultsModel::ColumnObject);
    m_pView->setColumnWidth(
        CFindResultsModel::ColumnObject, std::clamp(nPath, nAvailable / 6, nAvailable * 2 / 5));
}

void CFindDock::SetCurrentHit(const CSearchHit& hit)
{
    const int nRow = m_pModel->RowOf(hit);
    if (nRow < 0)
        return;
    const QModelIndex index = m_pModel->index(nRow, 0);
    m_pView->setCurrentIndex(index);
    m_pView->scrollTo(index);
}
