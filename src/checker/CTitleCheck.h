#pragma once

#include "checker/ICheck.h"

// Objects without a title: the link lists, the home links, the table of
// contents and the page heading show it. For a link object the title is its
// link text (before the address).
class CTitleCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;
};
