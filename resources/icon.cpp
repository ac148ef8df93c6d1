// Icon 128: axes, a fitted S-shaped curve and five measured points.
#include "resources/kurvomat_resources.h"
#include "resources/resource_ids.h"

std::vector<IconResource> KurvomatIcons() {
    IconResource icon;
    icon.id = IDI_KURVOMAT;
    icon.width = 32;
    icon.height = 32;
    icon.palette = {
        {'.', 0xFFFFFFFFu},  // paper
        {'k', 0xFF000000u},  // frame and axes
        {'b', 0xFF0000C0u},  // fitted curve
        {'r', 0xFFD00000u},  // measured points
    };
    icon.rows = {
        "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk", "k..............................k",
        "k...k..........................k", "k..kkk.........................k",
        "k...k..........................k", "k...k....................r.....k",
        "k...k...................rrrbb..k", "k...k...................br.....k",
        "k...k.................bb.......k", "k...k................b.........k",
        "k..kk...............br.........k", "k...k............r..rrr........k",
        "k...k...........rrrb.r.........k", "k...k............rb............k",
        "k...k............b.............k", "k...k............b.............k",
        "k..kk...........b..............k", "k...k...........b..............k",
        "k...k..........b...............k", "k...k.........b................k",
        "k...k........b.................k", "k...k........r.................k",
        "k..kk...r...rrr................k", "k...k..rrr.b.r.................k",
        "k...k...rbb....................k", "k...k..bb......................k",
        "k...kbb........................k", "k...k.......................k..k",
        "k...kkkkkkkkkkkkkkkkkkkkkkkkkk.k", "k.........k.....k.....k.....k..k",
        "k..............................k", "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    };
    return {icon};
}
