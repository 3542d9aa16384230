#include "generator/CPictureProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

#include "generator/CVips.h"

namespace {

std::string_view Extension(EPictureFormat format)
{
    switch (format) {
    case EPictureFormat::Jpeg:
        return ".jpg";
    case EPictureFormat::Png:
        return ".png";
    default:
        return ".webp";
    }
}

int ScaledHeight(int nWidth, int nHeight, int nTargetWidth)
{
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(nHeight) * nTargetWidth / nWidth)));
}

CString TakeVipsError()
{
    CString error = vips_error_buffer();
    vips_error_clear();
    while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
        error.pop_back();
    return error.empty() ? CString("libvips could not convert it") : error;
}

// The picture upright at exactly width x height, its colours in sRGB when
// it is to lose its profile, and with only the fields a published file may
// carry. Stripping the fields (rather than trusting the savers' strip option
// alone) keeps every saver from writing a location back.
bool MakeScaled(std::string_view bytes, const CPictureHeader& header, int nWidth, int nHeight, bool bStrip,
    CVipsImage& result)
{
    CVipsImage scaled;
    const int rc = bStrip && header.bHasProfile
        ? vips_thumbnail_buffer(const_cast<char*>(bytes.data()), bytes.size(), scaled.Out(), nWidth, "height",
            nHeight, "size", VIPS_SIZE_FORCE, "export_profile", "srgb", nullptr)
        : vips_thumbnail_buffer(const_cast<char*>(bytes.data()), bytes.size(), scaled.Out(), nWidth, "height",
            nHeight, "size", VIPS_SIZE_FORCE, nullptr);
    if (rc != 0)
        return false;
    if (vips_copy(scaled.Get(), result.Out(), nullptr) != 0)
        return false;
    if (!bStrip)
        return true;
    gchar** fields = vips_image_get_fields(result.Get());
    for (gchar** p = fields; *p != nullptr; ++p) {
        const std::string_view field(*p);
        if (field.starts_with("exif-") || field == VIPS_META_XMP_NAME || field == VIPS_META_IPTC_NAME
            || field == VIPS_META_ICC_NAME || field == VIPS_META_ORIENTATION
            || field.starts_with("png-comment"))
            vips_image_remove(result.Get(), *p);
    }
    g_strfreev(fields);
    return true;
}

bool Encode(VipsImage* pImage, EPictureFormat format, bool bStrip, bool bLossless, std::string& out)
{
    void* pBuffer = nullptr;
    size_t nSize = 0;
    const gboolean strip = bStrip ? TRUE : FALSE;
    int rc = 0;
    if (format == EPictureFormat::Jpeg)
        rc = vips_jpegsave_buffer(pImage, &pBuffer, &nSize, "Q", CPictureProcessor::kJpegQuality, "strip",
            strip, "optimize_coding", TRUE, nullptr);
    else if (format == EPictureFormat::Png)
        rc = vips_pngsave_buffer(pImage, &pBuffer, &nSize, "compression", 6, "strip", strip, nullptr);
    else
        rc = vips_webpsave_buffer(pImage, &pBuffer, &nSize, "Q", CPictureProcessor::kWebPQuality, "strip",
            strip, "lossless", bLossless ? TRUE : FALSE, nullptr);
    if (rc != 0)
        return false;
    out.assign(static_cast<const char*>(pBuffer), nSize);
    g_free(pBuffer);
    return true;
}

} // namespace

std::pair<int, int> CPictureProcessor::PlanSize(const CPictureHeader& header, int nMaxWidth)
{
    if (!header.IsProcessable() || nMaxWidth <= 0 || header.nWidth <= nMaxWidth)
        return { header.nWidth, header.nHeight };
    return { nMaxWidth, ScaledHeight(header.nWidth, header.nHeight, nMaxWidth) };
}

CString CPictureProcessor::VariantName(std::string_view name, int nWidth, EPictureFormat format)
{
    const size_t dot = name.rfind('.');
    const std::string_view stem = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
    return CString(stem) + "-" + std::to_string(nWidth) + "w" + CString(Extension(format));
}

std::optional<CPicture> CPictureProcessor::Process(
    const CString& name, std::string_view bytes, const CPictureOptions& options, CString& error)
{
    const std::optional<CPictureHeader> header = CPictureHeaders::Read(bytes);
    if (!header) {
        error = "it is no picture the generator knows";
        return std::nullopt;
    }
    CPicture picture;
    std::tie(picture.nWidth, picture.nHeight) = PlanSize(*header, options.nMaxWidth);
    picture.strSrc = name;
    const bool bStrip = !options.bKeepMetadata;
    const bool bUntouched = !header->IsProcessable()
        || (picture.nWidth == header->nWidth && header->nOrientation <= 1
            && !(bStrip && header->bHasMetadata));
    if (bUntouched && !(options.bVariants && header->IsProcessable())) {
        picture.files.push_back({ name, std::string(bytes) });
        return picture;
    }
    // The scaled picture is kept in memory: it is encoded more than once.
    CVipsImage scaled;
    CVipsImage main;
    if (MakeScaled(bytes, *header, picture.nWidth, picture.nHeight, bStrip, scaled))
        main = CVipsImage(vips_image_copy_memory(scaled.Get()));
    if (main.Get() == nullptr) {
        error = TakeVipsError();
        return std::nullopt;
    }
    std::string mainBytes(bytes);
    const bool bLossless = header->format == EPictureFormat::Png;
    if (!bUntouched && !Encode(main.Get(), header->format, bStrip, bLossless, mainBytes)) {
        error = TakeVipsError();
        return std::nullopt;
    }
    picture.files.push_back({ name, std::move(mainBytes) });
    if (!options.bVariants)
        return picture;
    // The variants take the format of the smaller main file.
    EPictureFormat format = header->format;
    if (header->format != EPictureFormat::WebP) {
        std::string webp;
        if (Encode(main.Get(), EPictureFormat::WebP, bStrip, bLossless, webp)
            && webp.size() < picture.files.front().bytes.size()) {
            format = EPictureFormat::WebP;
            picture.strSrc = VariantName(name, picture.nWidth, format);
            picture.files.push_back({ picture.strSrc, std::move(webp) });
        }
    }
    for (const int nVariant : kVariantWidths) {
        if (nVariant >= picture.nWidth)
            continue;
        CVipsImage variant;
        std::string variantBytes;
        if (!MakeScaled(bytes, *header, nVariant, ScaledHeight(picture.nWidth, picture.nHeight, nVariant),
                bStrip, variant)
            || !Encode(variant.Get(), format, bStrip, bLossless, variantBytes)) {
            error = TakeVipsError();
            return std::nullopt;
        }
        picture.srcset.push_back({ VariantName(name, nVariant, format), nVariant });
        picture.files.push_back({ picture.srcset.back().strName, std::move(variantBytes) });
    }
    if (!picture.srcset.empty())
        picture.srcset.push_back({ picture.strSrc, picture.nWidth });
    return picture;
}
