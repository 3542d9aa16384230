#include "app/CCommandRouter.h"

ICommandTarget* CCommandRouter::FindHandler(int nId, CCmdUI& state) const
{
    for (ICommandTarget* pTarget : m_targets) {
        if (pTarget == nullptr)
            continue;
        CCmdUI candidate;
        candidate.m_bEnabled = true;
        if (pTarget->OnUpdateCommand(nId, candidate)) {
            state = candidate;
            return pTarget;
        }
    }
    state = CCmdUI {};
    return nullptr;
}

CCmdUI CCommandRouter::Query(int nId) const
{
    CCmdUI state;
    FindHandler(nId, state);
    return state;
}

bool CCommandRouter::Execute(int nId)
{
    CCmdUI state;
    ICommandTarget* pTarget = FindHandler(nId, state);
    if (pTarget == nullptr || !state.m_bEnabled)
        return false;
    pTarget->OnCommand(nId);
    return true;
}
