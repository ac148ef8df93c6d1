// Assembles the program's resource set from its parts.
#include "resources/kurvomat_resources.h"

const ResourceSet& KurvomatResources() {
    static const ResourceSet resources{KurvomatMenus(),   KurvomatAccelerators(),
                                       KurvomatStrings(), KurvomatDialogs(),
                                       KurvomatIcons(),   KurvomatFileTypes()};
    return resources;
}
