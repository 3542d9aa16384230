#include "app/CFindResultsModel.h"

#include <algorithm>

#include "app/QtText.h"
#include "model/CSiteTree.h"
#include "search/CSiteSearch.h"

namespace {

constexpr size_t kBefore = 30;
constexpr size_t kAfter = 60;

QString FieldName(ESearchField field)
{
    switch (field) {
    case FIELD_TAG:
        return QStringLiteral("Tag");
    case FIELD_TITLE:
        return QStringLiteral("Title");
    default:
        return QStringLiteral("Text");
    }
}

} // namespace

CFindResultsModel::CFindResultsModel(CSiteTree& tree, QObject* pParent)
    : QAbstractTableModel(pParent)
    , m_tree(tree)
{
    m_tree.AddObserver(this);
}

CFindResultsModel::~CFindResultsModel()
{
    m_tree.RemoveObserver(this);
}

void CFindResultsModel::SetResults(std::vector<CSearchHit> hits)
{
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

void CFindResultsModel::Clear()
{
    if (!m_hits.empty())
        SetResults({});
}

void CFindResultsModel::OnItemRemoving(CTreeItem* /*pItem*/)
{
    if (m_hits.empty())
        return;
    Clear();
    emit outdated();
}

void CFindResultsModel::OnTreeResetting()
{
    if (m_hits.empty())
        return;
    Clear();
    emit outdated();
}

int CFindResultsModel::RowOf(const CSearchHit& hit) const
{
    for (size_t i = 0; i < m_hits.size(); ++i) {
        const CSearchHit& h = m_hits[i];
        if (h.hItem == hit.hItem && h.field == hit.field && h.nOffset == hit.nOffset)
            return static_cast<int>(i);
    }
    return -1;
}

int CFindResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

int CFindResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CFindResultsModel::Context(const CSearchHit& hit)
{
    const CString& text = CSiteSearch::FieldText(hit.hItem, hit.field);
    // The text may have changed since the search.
    const size_t nAt = std::min(hit.nOffset, text.size());
    const size_t nFrom = nAt > kBefore ? nAt - kBefore : 0;
    const size_t nTo = std::min(text.size(), nAt + hit.nLength + kAfter);
    QString context = ToQString(text.substr(nFrom, nTo - nFrom));
    for (QChar& c : context) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    if (nFrom > 0)
        context.prepend(QChar(0x2026));
    if (nTo < text.size())
        context.append(QChar(0x2026));
    return context;
}

QVariant CFindResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CSearchHit& hit = m_hits[static_cast<size_t>(index.row())];
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case ColumnObject:
        return ToQString(CSiteSearch::PathOfTags(hit.hItem));
    case ColumnField:
        return FieldName(hit.field);
    case ColumnText:
        return Context(hit);
    default:
        return {};
    }
}

QVariant CFindResultsModel::headerData(int nSection, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (nSection) {
    case ColumnObject:
        return QStringLiteral("Object");
    case ColumnField:
        return QStringLiteral("In");
    case ColumnText:
        return QStringLiteral("Text");
    default:
        return {};
    }
}
