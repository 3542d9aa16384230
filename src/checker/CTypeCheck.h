#pragma once

#include "checker/ICheck.h"

// Objects whose type is none of page, paragraph and link (a damaged or
// hand-made project file): the editor shows them, but no template exists for
// them and every run stops at them.
class CTypeCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;
};
