#pragma once

#include "checker/ICheck.h"

// The image files the properties name (icons, line images, backgrounds, the
// bullet, the buttons, the banners, the images every run copies), found as
// the generator finds them: missing, not a regular file, or outside the
// workspace. Each file is reported once, at the first object naming it.
class CImageCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;
};
