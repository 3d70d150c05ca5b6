#include "gui/zovresources.h"

#include <QtGlobal>

// The images live in a static library, so nothing references them unless registered here.
static void registerImages() { Q_INIT_RESOURCE(zov); }

void zovInitResources()
{
    static const bool registered = (registerImages(), true);
    Q_UNUSED(registered);
}
