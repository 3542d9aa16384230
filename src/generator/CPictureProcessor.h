#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "generator/CPictureHeader.h"
#include "platform/CString.h"

// How a run publishes its pictures (the site settings maxwidth and
// keepmetadata): bVariants for the pictures of body texts, which get smaller
// variants and a WebP version for the browser to choose from.
struct CPictureOptions {
    int nMaxWidth = 0; // 0: no limit
    bool bKeepMetadata = false;
    bool bVariants = false;
};

// A picture as the run publishes it.
struct CPicture {
    struct CFile {
        CString strName;
        std::string bytes;
    };
    struct CSource {
        CString strName;
        int nWidth = 0;
    };
    // The size the picture shows at.
    int nWidth = 0;
    int nHeight = 0;
    // The file the img element names, and the files of its srcset, narrowest
    // first (empty: none).
    CString strSrc;
    std::vector<CSource> srcset;
    // Every file to write into the destination.
    std::vector<CFile> files;
};

// Makes the published files of one picture of the workspace with libvips: a
// JPEG, PNG or WebP is turned upright by its EXIF orientation, scaled down to
// the largest width with a Lanczos filter (shrinking on load where the format
// allows) and, unless its metadata is kept, stripped of EXIF, XMP and IPTC
// data, its colours converted to sRGB when it had a profile of its own. A
// picture that needs none of that is published byte for byte, and so is
// every other format (GIF, SVG). The workspace file is only read.
class CPictureProcessor {
public:
    static constexpr std::array<int, 2> kVariantWidths = { 480, 960 };
    static constexpr int kJpegQuality = 82;
    static constexpr int kWebPQuality = 80;

    // The size a picture of that header is published at.
    static std::pair<int, int> PlanSize(const CPictureHeader& header, int nMaxWidth);
    // The file names a picture's variant of width takes: "photo.jpg" at 480
    // pixels in WebP gives "photo-480w.webp".
    static CString VariantName(std::string_view name, int nWidth, EPictureFormat format);

    // name: the name the picture is published under. None, with the reason
    // in error, when the bytes are no picture or cannot be converted.
    static std::optional<CPicture> Process(
        const CString& name, std::string_view bytes, const CPictureOptions& options, CString& error);
};
