// The lock keys' state as the X server tells it.
#pragma once

#include "framework/types.h"

namespace qtbackend {

// Caps Lock, Num Lock and Scroll Lock (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) on an X11 display;
// false on any other platform, without a display, or when the server does not tell.
bool X11KeyLocked(UINT virtualKey);

}  // namespace qtbackend
