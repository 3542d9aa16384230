#include "checker/CImageCheck.h"

#include <cstdint>
#include <unordered_map>

#include "checker/CCheckContext.h"

namespace {

struct CProblem {
    const CCheckContext::CImageUse* pFirst;
    CCheckContext::EFileState state;
    size_t nUses;
};

CString Describe(CCheckContext::EFileState state)
{
    switch (state) {
    case CCheckContext::EFileState::Missing:
        return "is missing";
    case CCheckContext::EFileState::NotRegular:
        return "is not a regular file";
    default:
        return "lies outside the workspace";
    }
}

CString Advise(CCheckContext::EFileState state)
{
    if (state == CCheckContext::EFileState::Outside)
        return "copy the image into the workspace and name it relative to its folder";
    return "put the image into the workspace, or correct the name in the properties";
}

} // namespace

void CImageCheck::Run(CCheckContext& context)
{
    std::unordered_map<CString, size_t> index;
    std::vector<CProblem> problems;
    for (const CCheckContext::CImageUse& use : context.GetImageUses()) {
        const auto found = index.find(use.strPath);
        if (found != index.end()) {
            if (found->second < problems.size())
                ++problems[found->second].nUses;
            continue;
        }
        const CCheckContext::EFileState state = context.GetFileState(use.strPath);
        if (state == CCheckContext::EFileState::Present) {
            index.emplace(use.strPath, SIZE_MAX);
            continue;
        }
        index.emplace(use.strPath, problems.size());
        problems.push_back({ &use, state, 1 });
    }
    for (const CProblem& problem : problems) {
        CString message = "the " + problem.pFirst->strWhat + " \"" + problem.pFirst->strPath + "\" "
            + Describe(problem.state);
        if (problem.nUses > 1)
            message += " (named " + std::to_string(problem.nUses) + " times)";
        context.Add(ESeverity::Error, problem.pFirst->hItem, message, Advise(problem.state));
    }
}
