#pragma once

#include <map>

#include "platform/CString.h"

class CFileSystem;
class CFileLocator;

// With modern markup a GIF image is drawn from its SVG twin when the
// workspace holds one ("images/home.gif" from "images/home.svg"): a pixel
// image blurs on any screen of more than one pixel per CSS pixel. Projects
// keep naming the GIF, so classic markup still finds what it always used.
// Each path is looked up once per run.
class CVectorImages {
public:
    CVectorImages(CFileSystem& files, const CFileLocator& locator)
        : m_files(files)
        , m_locator(locator)
    { }

    // path itself, or the path of its SVG twin when that file exists.
    const CString& Prefer(const CString& path);

private:
    CFileSystem& m_files;
    const CFileLocator& m_locator;
    std::map<CString, CString> m_chosen;
};
