#pragma once

#include <string_view>

#include "platform/CString.h"

class CGenerationRun;
class CMacroContext;
class CNode;

// The image macros. Each image a page uses enters the copy list by its path
// as written and is referenced in the page by its base name, since images are
// copied flat beside the pages.
//
// LINE, BGIMAGE and BULLET take a property with a fallback: "!" takes the
// property (in "lineimages/", "background/" or "bullets/", or as it stands when
// it begins with a separator), "!file" falls back to file when the property is
// empty. IMAGE, the three buttons and the three banners take "!" for the
// property (in "images/") or "!file" / "file" for an explicit path. Raw HTML
// ("<...") is used unchanged.
//
// Modern markup writes lower-case elements with an alternative text on every
// image (empty for the line image, the bullet and an icon beside a shown
// title, which only decorate) and
// the background as a style attribute; classic markup writes what earlier
// versions wrote. In both, the texts in attributes are escaped.
class CImageMacros {
public:
    CImageMacros(CGenerationRun& run, CMacroContext& context, const CNode& node)
        : m_run(run)
        , m_context(context)
        , m_node(node)
    { }

    void EvaluateWithFallback(int nMacro);
    void EvaluateImage(int nMacro);

    // The file a non-empty image property of macro names, as "!" takes it:
    // the property in the macro's folder ("images/", "lineimages/",
    // "background/", "bullets/"); for LINE, BGIMAGE and BULLET a property
    // beginning with a separator stands as it is.
    static CString GetPropertyPath(int nMacro, const CString& property);

private:
    struct CImageSource {
        const CString* pProperty;
        const char* pszAlt;
        int32_t bRequired; // the banner flag; 1 for the others
    };
    CImageSource GetImageSource(int nMacro) const;
    // The alternative text of an image with modern markup.
    CString GetModernAlt(const CImageSource& source) const;
    // The base name of a file path as the value of a src attribute.
    CString GetSource(const CString& path) const;
    // The width and height attributes of a picture file, as published;
    // empty when it cannot be read.
    CString GetSizeAttributes(const CString& path) const;
    // A file path's image element or background attribute for macro.
    CString MakeFallbackValue(int nMacro, const CString& path);

    CGenerationRun& m_run;
    CMacroContext& m_context;
    const CNode& m_node;
};
