#pragma once

#include <cstdint>

using COLORREF = uint32_t; // 0x00BBGGRR: red in the low byte

// Object types; also the radio index of the type dialog and the key of the
// tree images.
enum : uint32_t { NODE_PAGE = 0, NODE_PARAGRAPH = 1, NODE_LINK = 2 };

// The formatting word of a title or body text: alignment in bits 0-2, style
// in bits 3-6.
enum : uint32_t { ALIGN_NONE = 0, ALIGN_LEFT = 1, ALIGN_RIGHT = 2, ALIGN_CENTER = 3 };
enum : uint32_t {
    STYLE_NONE = 0,
    STYLE_H1 = 1,
    STYLE_H2 = 2,
    STYLE_H3 = 3,
    STYLE_H4 = 4,
    STYLE_NORMAL = 9,
    STYLE_HIDDEN = 10,
};
inline constexpr uint32_t FORMAT_ALIGN_MASK = 0x07;
inline constexpr uint32_t FORMAT_STYLE_MASK = 0x78;
inline constexpr int FORMAT_STYLE_SHIFT = 3;

inline constexpr uint32_t GetAlignment(uint32_t format)
{
    return format & FORMAT_ALIGN_MASK;
}

inline constexpr uint32_t GetStyle(uint32_t format)
{
    return (format & FORMAT_STYLE_MASK) >> FORMAT_STYLE_SHIFT;
}

// Choosing the value a field already holds resets it to 0; the other field
// is untouched.
inline constexpr uint32_t SetAlignment(uint32_t format, uint32_t align)
{
    const uint32_t next = GetAlignment(format) == align ? 0 : align;
    return (format & ~FORMAT_ALIGN_MASK) | (next & FORMAT_ALIGN_MASK);
}

inline constexpr uint32_t SetStyle(uint32_t format, uint32_t style)
{
    const uint32_t next = GetStyle(format) == style ? 0 : style;
    return (format & ~FORMAT_STYLE_MASK) | ((next << FORMAT_STYLE_SHIFT) & FORMAT_STYLE_MASK);
}

// Tree item images: the mode of an item and the index of its picture. The
// project file stores an item's normal image and selected image numbers.
enum EImageMode : int { IMAGE_NORMAL = 0, IMAGE_DRAG = 1, IMAGE_DROP = 2 };

inline constexpr uint32_t GetImageIndex(uint32_t type, int selected, int mode)
{
    // Rows: page, paragraph, link; columns: normal, selected, drag, drop.
    constexpr uint32_t table[3][4] = { { 1, 0, 2, 3 }, { 9, 8, 10, 11 }, { 5, 4, 6, 7 } };
    if (type > NODE_LINK || mode < IMAGE_NORMAL || mode > IMAGE_DROP)
        return 0;
    const int column = mode == IMAGE_NORMAL ? (selected != 0 ? 1 : 0) : mode + 1;
    return table[type][column];
}
