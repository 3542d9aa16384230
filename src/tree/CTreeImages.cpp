#include "tree/CTreeImages.h"

#include "app/CSvgIcon.h"
#include "app/Resources.h"

namespace {

// The base picture and the mark laid over it, by image index.
QStringList Layers(int nIndex)
{
    static const char* const kBases[] = { ":/tree/page.svg", ":/tree/link.svg", ":/tree/paragraph.svg" };
    static const char* const kMarks[]
        = { ":/tree/pencil.svg", nullptr, ":/tree/drag.svg", ":/tree/drop.svg" };
    QStringList layers { QString::fromLatin1(kBases[nIndex / 4]) };
    if (const char* pszMark = kMarks[nIndex % 4])
        layers << QString::fromLatin1(pszMark);
    return layers;
}

} // namespace

QIcon CTreeImages::Image(int nIndex)
{
    InitPagewellResources();
    if (nIndex < 0 || nIndex >= kCount)
        return {};
    return MakeSvgIcon(Layers(nIndex));
}

QIcon CTreeImages::ItemIcon(int nNormal, int nSelected)
{
    if (nNormal < 0 || nNormal >= kCount || nSelected < 0 || nSelected >= kCount)
        return {};
    // The view asks for the Selected mode while the item is selected.
    return MakeSvgIcon(Layers(nNormal), Layers(nSelected));
}
