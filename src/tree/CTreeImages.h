#pragma once

#include <QIcon>

// The twelve pictures of the tree's items, in the order of their image
// indices (GetImageIndex): page selected, page, page dragged, page under the
// drop, then the same four for a link and for a paragraph. Each is drawn
// from SVG, so it is crisp at any scale.
class CTreeImages {
public:
    static constexpr int kCount = 12;

    // The picture of an index; a null icon outside 0 to 11.
    static QIcon Image(int nIndex);
    // The icon an item shows: its normal image, and its selected image while
    // it is selected.
    static QIcon ItemIcon(int nNormal, int nSelected);
};
