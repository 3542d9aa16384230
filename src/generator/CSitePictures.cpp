#include "generator/CSitePictures.h"

#include <algorithm>
#include <thread>

#include "generator/CBodyImages.h"
#include "generator/CGenerationRun.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

constexpr std::string_view kImagesFolder = "images/";

} // namespace

CPictureOptions CSitePictures::GetOptions(bool bVariants) const
{
    const CSiteSettings& settings = m_run.GetSiteSettings();
    return { settings.GetMaxWidth(), settings.KeepsMetadata(), bVariants };
}

CString CSitePictures::PublishedName(const CString& name) const
{
    CString published = name;
    if (m_run.GetNames().IsLowercase())
        CCodePage::AsciiLower(published);
    return published;
}

void CSitePictures::PrepareBodyPictures()
{
    m_bodyJobs.clear();
    m_bodyIndex.clear();
    CFileSystem& files = m_run.GetFileSystem();
    for (HTREEITEM hItem = m_run.GetTree().GetRootItem(); hItem != nullptr;
         hItem = CSiteTree::GetNextPreOrder(hItem)) {
        const CNode* pNode = hItem->GetNode();
        if (pNode == nullptr || pNode->m_strText.find('<') == CString::npos)
            continue;
        for (const CBodyImages::CImg& img : CBodyImages::FindImages(pNode->m_strText)) {
            const std::optional<CString> name = img.src ? CBodyImages::GetImageName(*img.src) : std::nullopt;
            if (!name || m_bodyIndex.contains(*name))
                continue;
            const CString source = CString(kImagesFolder) + *name;
            // A picture that is nowhere is left to the site check.
            if (!files.IsRegularFile(m_run.GetLocator().LocateForRead(source)))
                continue;
            m_bodyIndex.emplace(*name, m_bodyJobs.size());
            m_bodyJobs.push_back({ source, PublishedName(*name), true, std::nullopt, {}, false });
        }
    }
    RunJobs(m_bodyJobs);
}

CString CSitePictures::RewriteBodyText(const CString& text)
{
    if (m_bodyIndex.empty())
        return text;
    return CBodyImages::Rewrite(
        text,
        [this](const CString& name) -> const CPicture* {
            const auto found = m_bodyIndex.find(name);
            if (found == m_bodyIndex.end() || !m_bodyJobs[found->second].picture)
                return nullptr;
            return &*m_bodyJobs[found->second].picture;
        },
        m_nPagePictures);
}

void CSitePictures::WriteBodyPictures()
{
    for (const CJob& job : m_bodyJobs)
        WriteJob(job);
    m_bodyJobs.clear();
    m_bodyIndex.clear();
}

std::optional<std::pair<int, int>> CSitePictures::GetShownSize(const CString& path)
{
    const auto found = m_sizes.find(path);
    if (found != m_sizes.end())
        return found->second;
    std::optional<std::pair<int, int>> size;
    std::string bytes;
    if (CPathRules::IsInsideWorkspace(path)
        && m_run.GetFileSystem().ReadFile(m_run.GetLocator().LocateForRead(path), bytes)
            == EFileError::None) {
        if (const std::optional<CPictureHeader> header = CPictureHeaders::Read(bytes))
            size = CPictureProcessor::PlanSize(*header, m_run.GetSiteSettings().GetMaxWidth());
    }
    m_sizes.emplace(path, size);
    return size;
}

void CSitePictures::PublishCopies(const std::vector<std::pair<CString, CString>>& copies)
{
    std::vector<CJob> jobs;
    for (const auto& [source, name] : copies)
        jobs.push_back({ source, name, false, std::nullopt, {}, false });
    RunJobs(jobs);
    for (const CJob& job : jobs)
        WriteJob(job);
}

void CSitePictures::RunJobs(std::vector<CJob>& jobs)
{
    if (jobs.empty())
        return;
    const size_t nThreads = std::min<size_t>(jobs.size(), std::max(1U, std::thread::hardware_concurrency()));
    std::atomic<size_t> next { 0 };
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            RunJob(jobs[i]);
    };
    std::vector<std::thread> threads;
    for (size_t i = 1; i < nThreads; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
}

void CSitePictures::RunJob(CJob& job)
{
    std::string bytes;
    if (m_run.GetFileSystem().ReadFile(m_run.GetLocator().LocateForRead(job.strSource), bytes)
        != EFileError::None) {
        job.strError = "it cannot be read";
        return;
    }
    const CPictureOptions options = GetOptions(job.bVariants);
    const std::string key = CPictureCache::MakeKey(bytes, job.strName, options);
    job.picture = m_cache.Load(key);
    if (job.picture)
        return;
    job.picture = CPictureProcessor::Process(job.strName, bytes, options, job.strError);
    // What cannot be converted is published as it is, like any other file.
    if (!job.picture) {
        job.picture = CPicture { 0, 0, job.strName, {}, { { job.strName, std::move(bytes) } } };
        return;
    }
    ++m_nConverted;
    job.bConverted = true;
    m_cache.Save(key, *job.picture);
}

void CSitePictures::WriteJob(const CJob& job)
{
    if (!job.picture) {
        m_run.GetLog().Add({ "Unable to open ", job.strSource, " for read." });
        return;
    }
    if (!job.strError.empty())
        m_run.GetLog().Add({ "Unable to convert picture ", job.strSource, ": ", job.strError, "." });
    // The log tells a converted picture from one the cache gave.
    m_run.GetLog().Add({ job.bConverted ? "Converting picture " : "Publishing picture ", job.strSource,
        " as ", job.picture->strSrc });
    for (const CPicture::CFile& file : job.picture->files)
        m_run.GetOutput().WriteFile(file.strName, file.bytes);
}
