#pragma once

#include <QDockWidget>

#include "search/SearchTypes.h"

class CFindResultsModel;
class CSiteTree;
class QTreeView;

// The dock of find results under the editors: one row per match. Double
// clicking a row (or Enter on it) asks to go to that match.
class CFindDock : public QDockWidget {
    Q_OBJECT
public:
    CFindDock(CSiteTree& tree, QWidget* pParent = nullptr);

    // Shows the hits of a search; nTotal may be more than the rows.
    void SetResults(std::vector<CSearchHit> hits, size_t nTotal, const QString& what);
    // Marks the row of a hit as the current one, if the list holds it.
    void SetCurrentHit(const CSearchHit& hit);
    // Gives the object path and the field their widths, the match the rest.
    void FitColumns();

    CFindResultsModel& GetModel() const { return *m_pModel; }
    QTreeView* GetView() const { return m_pView; }

signals:
    void hitActivated(const CSearchHit& hit);

private:
    CFindResultsModel* m_pModel;
    QTreeView* m_pView;
};
