#include "generator/CPictureHeader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "generator/CVips.h"

namespace {

EPictureFormat FormatOfLoader(std::string_view loader)
{
    if (loader.starts_with("jpegload"))
        return EPictureFormat::Jpeg;
    if (loader.starts_with("pngload"))
        return EPictureFormat::Png;
    if (loader.starts_with("webpload"))
        return EPictureFormat::WebP;
    if (loader.starts_with("gifload"))
        return EPictureFormat::Gif;
    return EPictureFormat::Other;
}

bool HasField(VipsImage* pImage, const char* pszName)
{
    return vips_image_get_typeof(pImage, pszName) != 0;
}

// libvips parses the EXIF data into fields; the GPS directory is the fourth.
bool HasGps(VipsImage* pImage)
{
    bool bGps = false;
    gchar** fields = vips_image_get_fields(pImage);
    for (gchar** p = fields; *p != nullptr; ++p)
        bGps = bGps || std::strncmp(*p, "exif-ifd3-", 10) == 0;
    g_strfreev(fields);
    if (bGps)
        return true;
    const void* pData = nullptr;
    size_t nSize = 0;
    if (HasField(pImage, VIPS_META_XMP_NAME)
        && vips_image_get_blob(pImage, VIPS_META_XMP_NAME, &pData, &nSize) == 0) {
        const std::string_view xmp(static_cast<const char*>(pData), nSize);
        return xmp.find("GPSLatitude") != std::string_view::npos
            || xmp.find("GPSLongitude") != std::string_view::npos;
    }
    return false;
}

// The root svg element's start tag.
std::string_view FindSvgTag(std::string_view text)
{
    const size_t start = text.find("<svg");
    if (start == std::string_view::npos || start > 4096)
        return {};
    const size_t end = text.find('>', start);
    return end == std::string_view::npos ? std::string_view() : text.substr(start, end - start);
}

// An attribute's value in a start tag (quoted with " or ').
std::optional<std::string_view> FindAttribute(std::string_view tag, std::string_view name)
{
    for (size_t pos = tag.find(name); pos != std::string_view::npos; pos = tag.find(name, pos + 1)) {
        const size_t after = pos + name.size();
        if (pos == 0 || !std::isspace(static_cast<unsigned char>(tag[pos - 1])) || after + 1 >= tag.size()
            || tag[after] != '=')
            continue;
        const char quote = tag[after + 1];
        if (quote != '"' && quote != '\'')
            continue;
        const size_t close = tag.find(quote, after + 2);
        if (close == std::string_view::npos)
            return std::nullopt;
        return tag.substr(after + 2, close - after - 2);
    }
    return std::nullopt;
}

// A length in pixels: a number alone or with "px"; none for other units.
std::optional<double> ParsePixels(std::string_view value)
{
    const std::string text(value);
    char* pEnd = nullptr;
    const double number = std::strtod(text.c_str(), &pEnd);
    const std::string_view rest(pEnd);
    if (pEnd == text.c_str() || !(rest.empty() || rest == "px") || !(number > 0) || number > 1e6)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<CPictureHeader> CPictureHeaders::ReadSvg(std::string_view text)
{
    const std::string_view tag = FindSvgTag(text);
    if (tag.empty())
        return std::nullopt;
    CPictureHeader header;
    header.format = EPictureFormat::Svg;
    const auto width = FindAttribute(tag, "width");
    const auto height = FindAttribute(tag, "height");
    std::optional<double> w = width ? ParsePixels(*width) : std::nullopt;
    std::optional<double> h = height ? ParsePixels(*height) : std::nullopt;
    if (!w || !h) {
        const auto viewBox = FindAttribute(tag, "viewBox");
        if (!viewBox)
            return std::nullopt;
        const std::string box(*viewBox);
        double values[4] = {};
        const char* p = box.c_str();
        for (double& value : values) {
            char* pEnd = nullptr;
            value = std::strtod(p, &pEnd);
            if (pEnd == p)
                return std::nullopt;
            p = pEnd;
            while (*p == ' ' || *p == ',')
                ++p;
        }
        if (!(values[2] > 0 && values[3] > 0 && values[2] < 1e6 && values[3] < 1e6))
            return std::nullopt;
        // One given dimension keeps the box's proportions.
        if (w)
            h = *w * values[3] / values[2];
        else if (h)
            w = *h * values[2] / values[3];
        else
            w = values[2], h = values[3];
    }
    header.nWidth = std::max(1, static_cast<int>(std::lround(*w)));
    header.nHeight = std::max(1, static_cast<int>(std::lround(*h)));
    return header;
}

std::optional<CPictureHeader> CPictureHeaders::Read(std::string_view bytes)
{
    const size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (first != std::string_view::npos && bytes[first] == '<')
        return ReadSvg(bytes);
    if (bytes.empty() || !CVips::Start())
        return std::nullopt;
    CVipsImage image(vips_image_new_from_buffer(bytes.data(), bytes.size(), "", nullptr));
    if (image.Get() == nullptr) {
        vips_error_clear();
        return std::nullopt;
    }
    CPictureHeader header;
    const char* pszLoader = nullptr;
    if (vips_image_get_string(image.Get(), VIPS_META_LOADER, &pszLoader) == 0 && pszLoader != nullptr)
        header.format = FormatOfLoader(pszLoader);
    header.nWidth = vips_image_get_width(image.Get());
    header.nHeight = vips_image_get_page_height(image.Get());
    header.nOrientation = vips_image_get_orientation(image.Get());
    if (vips_image_get_orientation_swap(image.Get()))
        std::swap(header.nWidth, header.nHeight);
    header.bHasMetadata = HasField(image.Get(), VIPS_META_EXIF_NAME)
        || HasField(image.Get(), VIPS_META_XMP_NAME) || HasField(image.Get(), VIPS_META_IPTC_NAME);
    header.bHasGps = HasGps(image.Get());
    header.bHasProfile = HasField(image.Get(), VIPS_META_ICC_NAME);
    return header;
}
