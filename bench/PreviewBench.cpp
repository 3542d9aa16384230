// The preview's and the server's speed on a project, run in its workspace:
//
//   pagewell-preview-bench PROJECT REPEATS
//
// times rendering a page into memory (the root page, a page in the middle of
// the tree and the last page, each REPEATS times), the initial build of the
// whole site for `serve`, and requests for pages spread over the site
// answered by the server on 127.0.0.1; prints medians and 95th percentiles
// in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <httplib.h>
#include <string>
#include <vector>

#include "cli/CSiteServer.h"
#include "generator/CSiteNames.h"
#include "generator/CSiteRenderer.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/CFileLocator.h"
#include "platform/CSilentUserInterface.h"

namespace {

using CClock = std::chrono::steady_clock;

double Since(CClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(CClock::now() - start).count();
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(
        values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

void Report(const char* pszWhat, const std::vector<double>& times)
{
    std::printf("%-34s median %7.3f ms   p95 %7.3f ms   (%zu runs)\n", pszWhat, Percentile(times, 0.5),
        Percentile(times, 0.95), times.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pagewell-preview-bench PROJECT REPEATS\n");
        return 2;
    }
    const int repeats = std::max(1, std::atoi(argv[2]));
    CSilentUserInterface ui;
    CPagewellDoc doc(ui);
    if (!doc.DoFileOpen(argv[1]))
        return 1;
    const CFileLocator locator(doc.GetFileSystem(), CFileLocator::DefaultShareDir());
    const CSiteRenderer renderer(doc.m_tree, doc.m_props, doc.m_dlgGenerate, doc.GetFileSystem(), locator);

    std::vector<HTREEITEM> pages;
    for (HTREEITEM h = doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        if (h->GetNode()->m_nType == NODE_PAGE)
            pages.push_back(h);
    }
    const HTREEITEM chosen[] = { pages.front(), pages[pages.size() / 2], pages.back() };
    const char* const kNames[] = { "render root page", "render middle page", "render last page" };
    std::vector<double> all;
    for (int i = 0; i < 3; ++i) {
        std::vector<double> times;
        size_t nBytes = 0;
        for (int r = 0; r < repeats; ++r) {
            const auto start = CClock::now();
            const CRenderedSite site = renderer.RenderPage(chosen[i]);
            times.push_back(Since(start));
            if (site.pages.size() != 1)
                return 1;
            nBytes = site.pages.begin()->second.size();
        }
        Report(kNames[i], times);
        std::printf("%-34s %zu bytes\n", "", nBytes);
        all.insert(all.end(), times.begin(), times.end());
    }
    Report("render a page (all three)", all);

    const auto buildStart = CClock::now();
    CRenderedSite site = renderer.RenderSite();
    const double buildMs = Since(buildStart);
    std::printf("%-34s %9.1f ms for %zu pages\n", "serve: initial build", buildMs, site.pages.size());

    CSiteServer server;
    server.SetSite(std::move(site));
    if (!server.Start("127.0.0.1", 0))
        return 1;
    httplib::Client client("127.0.0.1", server.GetPort());
    client.set_keep_alive(true);
    std::vector<double> times;
    const CSiteNames names(doc.m_tree.GetRootItem(), doc.m_dlgGenerate.m_bLowercase != 0);
    for (int r = 0; r < repeats * 3; ++r) {
        const HTREEITEM hPage = pages[(static_cast<size_t>(r) * 7919) % pages.size()];
        const std::string path = "/" + names.GetTag(hPage) + ".htm";
        const auto start = CClock::now();
        const httplib::Result result = client.Get(path.c_str());
        times.push_back(Since(start));
        if (!result || result->status != 200)
            return 1;
    }
    Report("serve: answer a page", times);
    server.Stop();
    return 0;
}
