#pragma once

#include <string>
#include <vector>

class CPagewellDoc;

// A synthetic site of N pages for the benchmark. The pages fill a tree level
// by level, each with the same number of child pages, chosen as the smallest
// number that keeps the tree within five levels below the root. Every page has
// a title, a body of about 1.5 KB with a little inline HTML, three sections
// (a title and about 400 bytes each) and two links. The texts are made by a
// fixed pseudo-random sequence, so the same N always gives the same site.
class CSyntheticSite {
public:
    struct CSection {
        std::string strTag, strTitle, strText;
    };
    struct CLink {
        std::string strTag, strText, strUrl; // the title is text, line end, URL
    };
    struct CPage {
        std::string strTag, strTitle, strBody;
        std::vector<CSection> sections;
        std::vector<CLink> links;
        std::vector<size_t> children; // indexes of the child pages, in order
    };

    explicit CSyntheticSite(size_t nPages);

    size_t GetBranching() const { return m_nBranching; }
    int GetDepth() const { return m_nDepth; }
    const std::vector<CPage>& GetPages() const { return m_pages; }
    size_t GetObjectCount() const;

    // The site as a project: every object in the tree, template set "Bench".
    void Fill(CPagewellDoc& doc) const;
    // The same pages, texts and child lists as a Hugo site in folder: one
    // content file per page and one plain layout, nothing else switched on.
    void WriteHugoSite(const std::string& folder) const;

private:
    std::vector<CPage> m_pages;
    size_t m_nBranching = 1;
    int m_nDepth = 0;
};
