#pragma once

#include "model/CDocProperties.h"
#include "undo/CUndoStep.h"

// An OK in the project properties dialog, the colours chosen in it included.
class CDocPropertiesStep : public CExchangeStep {
public:
    CDocPropertiesStep(CUndoContext& context, const CDocProperties& oldProps);

private:
    void Exchange() override;

    CDocProperties m_props; // the record the project does not hold now
};
