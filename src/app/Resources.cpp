#include "app/Resources.h"

#include <QtGlobal>

// Outside any namespace, as the resource macro requires.
static void InitResourcesOnce()
{
    Q_INIT_RESOURCE(pagewell);
}

void InitPagewellResources()
{
    static const bool bDone = [] {
        InitResourcesOnce();
        return true;
    }();
    (void)bDone;
}
