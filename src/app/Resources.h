#pragma once

// Makes the program's pictures (icons, tree images, the origin picture)
// available under ":/"; safe to call more than once.
void InitPagewellResources();
