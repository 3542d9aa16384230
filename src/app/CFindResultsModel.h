#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "model/ISiteTreeObserver.h"
#include "search/SearchTypes.h"

class CSiteTree;

// The rows of the find results: one match each, with the object's path of
// tags, the field and the text around the match as it reads now. The rows
// name tree items, so the list empties itself when any item goes away.
class CFindResultsModel : public QAbstractTableModel, private ISiteTreeObserver {
    Q_OBJECT
public:
    enum EColumn { ColumnObject, ColumnField, ColumnText, ColumnCount };

    explicit CFindResultsModel(CSiteTree& tree, QObject* pParent = nullptr);
    ~CFindResultsModel() override;

    void SetResults(std::vector<CSearchHit> hits);
    void Clear();

    const std::vector<CSearchHit>& GetHits() const { return m_hits; }
    // The row of a hit, or -1.
    int RowOf(const CSearchHit& hit) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int role) const override;

    // The text around a match on one line: some characters before and after
    // it, line breaks and tabs shown as spaces.
    static QString Context(const CSearchHit& hit);

signals:
    // The tree changed under the listed hits, which are gone now; a search
    // again lists what there is.
    void outdated();

private:
    void OnItemRemoving(CTreeItem* pItem) override;
    void OnTreeResetting() override;

    CSiteTree& m_tree;
    std::vector<CSearchHit> m_hits;
};
