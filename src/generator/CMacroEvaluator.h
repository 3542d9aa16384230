#pragma once

#include <cstdint>
#include <string_view>

#include "generator/IMacroEvaluator.h"
#include "model/CTreeItem.h"

class CGenerationRun;
class CMacroContext;
class CNode;

// Computes macro values for one object's expansion. Keeps the format state:
// TITLE, TEXT and LINK set it from the object; LINKS, LINKBODY, ADDRESS and
// AUTHOR reset it; ALIGN and STYLE read it.
class CMacroEvaluator : public IMacroEvaluator {
public:
    CMacroEvaluator(CGenerationRun& run, HTREEITEM hItem, CMacroContext& context);

    void Evaluate(int nMacro) override;
    int GetLevel() const override;
    bool IsFollowedByLink() const override;

    // Where the URL of a link object's (prepared) title starts: after the
    // last blank or line end, found from the end down to the second
    // character; npos when there is none and LINK keeps its value.
    static size_t FindUrlStart(std::string_view title);

private:
    // The object's own texts: TEXT, TITLE, REFTITLE, TAG, LINK.
    bool EvaluateText(int nMacro);
    // Project texts and references: ADDRESS, AUTHOR, GENERATOR, HOME, PARENT, UP.
    bool EvaluateProject(int nMacro);
    // The site settings: LANG, DESCRIPTION, BASEURL, CHARSET, FAVICON, FEED.
    bool EvaluateSite(int nMacro);
    bool EvaluateFormat(int nMacro);
    bool EvaluateLinks(int nMacro);
    bool EvaluateImages(int nMacro);
    void EvaluateLink();
    // With modern markup: moves BGIMAGE's style into COLOR's when both have one.
    void JoinStyles();
    CString Prepare(bool bCutLastWord) const;
    bool IsTitleHidden() const;
    CString& Value(int nMacro);

    CGenerationRun& m_run;
    HTREEITEM m_hItem;
    const CNode& m_node;
    CMacroContext& m_context;
    uint32_t m_nFormat = 0;
};
