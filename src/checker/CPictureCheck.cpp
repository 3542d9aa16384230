#include "checker/CPictureCheck.h"

#include "checker/CCheckContext.h"
#include "generator/CBodyImages.h"
#include "generator/CPictureCache.h"
#include "generator/CPictureHeader.h"
#include "generator/CPictureProcessor.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

CString FormatMegabytes(size_t nBytes)
{
    const size_t tenths = (nBytes + 50'000) / 100'000;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

} // namespace

void CPictureCheck::Run(CCheckContext& context)
{
    m_pContext = &context;
    m_seen.clear();
    for (const CCheckContext::CImageUse& use : context.GetImageUses())
        CheckPicture(use.hItem, use.strPath, false);
    // Only a run with modern markup publishes the body texts' pictures.
    if (context.GetOptions().settings.IsModern()) {
        for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            const CString& text = h->GetNode()->m_strText;
            if (text.find('<') == CString::npos)
                continue;
            for (const CBodyImages::CImg& img : CBodyImages::FindImages(text)) {
                if (const auto name = img.src ? CBodyImages::GetImageName(*img.src) : std::nullopt)
                    CheckPicture(h, "images/" + *name, true);
            }
        }
    }
    m_pContext = nullptr;
}

void CPictureCheck::CheckPicture(HTREEITEM hItem, const CString& path, bool bBody)
{
    if (!m_seen.insert(path).second || m_pContext->GetFileState(path) != CCheckContext::EFileState::Present)
        return;
    const std::string native = m_pContext->GetLocator().LocateForRead(path);
    CheckLetterCase(hItem, path, native);
    std::string bytes;
    if (m_pContext->GetFiles().ReadFile(native, bytes) != EFileError::None)
        return;
    const CSiteSettings& settings = m_pContext->GetOptions().settings;
    const std::optional<CPictureHeader> header = CPictureHeaders::Read(bytes);
    if (header && header->bHasGps && settings.IsModern() && settings.KeepsMetadata())
        m_pContext->Add(ESeverity::Warning, hItem,
            "the picture \"" + path + "\" tells where it was taken, and is published with that location",
            "set keepmetadata=no in the site settings, or remove the location from the picture");
    const size_t nPublished = GetPublished(path, bytes, bBody && header.has_value()).size();
    if (nPublished > kMaxBytes)
        m_pContext->Add(ESeverity::Warning, hItem,
            "the picture \"" + path + "\" is published with " + FormatMegabytes(nPublished)
                + ", slow to load on a phone",
            settings.IsModern() ? "set a smaller maxwidth in the site settings, or save the picture smaller"
                                : "save the picture smaller, or use modern markup with a maxwidth");
}

void CPictureCheck::CheckLetterCase(HTREEITEM hItem, const CString& path, const std::string& native)
{
    const CString written = CPathRules::GetFileName(path);
    const size_t slash = native.rfind('/');
    const std::string onDisk = slash == std::string::npos ? native : native.substr(slash + 1);
    if (onDisk == written || !CFileLocator::EqualNoCase(onDisk, written))
        return;
    m_pContext->Add(ESeverity::Warning, hItem,
        "the picture \"" + path + "\" is named \"" + CString(onDisk) + "\" on the disk",
        "write the name as the file is named: a web server tells capital from small letters");
}

std::string CPictureCheck::GetPublished(const CString& path, const std::string& bytes, bool bBody) const
{
    const CSiteSettings& settings = m_pContext->GetOptions().settings;
    if (!settings.IsModern())
        return bytes;
    const CPictureOptions options { settings.GetMaxWidth(), settings.KeepsMetadata(), bBody };
    const CString name = CPathRules::GetFileName(path);
    const CPictureCache cache(m_pContext->GetOptions().strPictureCache);
    const std::string key = CPictureCache::MakeKey(bytes, name, options);
    std::optional<CPicture> picture = cache.Load(key);
    CString error;
    if (!picture && (picture = CPictureProcessor::Process(name, bytes, options, error)))
        cache.Save(key, *picture);
    if (!picture)
        return bytes;
    for (const CPicture::CFile& file : picture->files) {
        if (file.strName == picture->strSrc)
            return file.bytes;
    }
    return bytes;
}
