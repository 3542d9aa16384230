#include "publisher/CLocalSite.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "generator/CSiteNames.h"
#include "model/CPagewellDoc.h"
#include "platform/CPathRules.h"
#include "publisher/CPublishedManifest.h"
#include "publisher/CSha256.h"

bool CLocalSite::Collect(const std::string& folder, const COutputManifest& produced,
    std::vector<CLocalFile>& files, std::string& error)
{
    files.clear();
    for (const std::string& name : produced.GetNames()) {
        if (CPublishedManifest::IsPlainName(name))
            files.push_back({ name, folder + "/" + name, 0, {} });
    }
    // Hashing a large site is mostly reading: a few threads keep the disk busy.
    std::atomic<size_t> next { 0 };
    std::atomic<bool> bFailed { false };
    const auto hash = [&] {
        for (size_t i = next++; i < files.size() && !bFailed; i = next++) {
            if (!CSha256::HexOfFile(files[i].strPath, files[i].strHash, files[i].nSize))
                bFailed = true;
        }
    };
    const size_t nThreads = std::min<size_t>(4, std::max<size_t>(1, files.size() / 256));
    std::vector<std::thread> threads;
    for (size_t i = 1; i < nThreads; ++i)
        threads.emplace_back(hash);
    hash();
    for (std::thread& thread : threads)
        thread.join();
    for (const CLocalFile& file : files) {
        if (file.strHash.empty()) {
            error = "cannot read " + file.strPath + " of the generated site";
            return false;
        }
    }
    return true;
}

std::string CLocalSite::HomePageName(const CPagewellDoc& doc, bool bLowercase)
{
    const HTREEITEM hRoot = doc.m_tree.GetRootItem();
    if (hRoot == nullptr)
        return {};
    const CSiteNames names(hRoot, bLowercase, doc.m_dlgGenerate.GetSiteSettings().GetPageExtension());
    return CPathRules::ToNative(names.GetPageFile(names.GetTag(hRoot)));
}
