#pragma once

#include <vector>

#include "checker/CCheckContext.h"
#include "checker/CFinding.h"

class CPagewellDoc;

// Checks a site for what would come out wrong when it is generated, with the
// generator's own rules, and writes nothing. The findings come family by
// family: templates, file names, images, links, banners, colours, titles.
class CSiteChecker {
public:
    // The document as it is (unsaved edits included), with its generation
    // settings, in the current directory as the workspace; the resource
    // folders fall back to the installed default workspace, as a run does.
    static std::vector<CFinding> Check(CPagewellDoc& doc, CCheckOptions options);
    // The checks over a prepared context.
    static std::vector<CFinding> Check(CCheckContext& context);
};
