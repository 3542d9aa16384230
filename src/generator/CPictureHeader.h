#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a picture file's header says, as the generator needs it: the size it
// shows at (with its EXIF orientation applied) and whether it carries data
// a visitor should not get unasked.
enum class EPictureFormat { Jpeg, Png, WebP, Gif, Svg, Other };

struct CPictureHeader {
    int nWidth = 0;
    int nHeight = 0;
    EPictureFormat format = EPictureFormat::Other;
    // The EXIF orientation (1: as stored).
    int nOrientation = 1;
    // EXIF, XMP or IPTC data.
    bool bHasMetadata = false;
    // A location, in the EXIF or in the XMP data.
    bool bHasGps = false;
    // An embedded colour profile.
    bool bHasProfile = false;

    // Whether the generator scales and re-encodes pictures of this format.
    bool IsProcessable() const
    {
        return format == EPictureFormat::Jpeg || format == EPictureFormat::Png
            || format == EPictureFormat::WebP;
    }
};

// Reads picture headers with libvips (GIF, PNG, JPEG, WebP) and the root
// element's width, height or viewBox of an SVG file. Decodes no pixels.
class CPictureHeaders {
public:
    // None when the bytes are no picture libvips or the SVG reader knows.
    static std::optional<CPictureHeader> Read(std::string_view bytes);
    // The size an SVG document's root element declares: its width and height
    // in pixels (or unitless), else its viewBox's.
    static std::optional<CPictureHeader> ReadSvg(std::string_view text);
};
