// The lock keys' indicators read from the X server (Xkb), when the program runs on X11. Kept
// apart: the X11 headers define names (None, Bool, Status) that clash with Qt's.
#include "framework/qt/key_locks.h"

#include <QGuiApplication>

#ifdef KURVOMAT_HAS_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace qtbackend {

bool X11KeyLocked(UINT virtualKey) {
#ifdef KURVOMAT_HAS_X11
    // Only on the xcb platform with a display: other platforms have no X11 connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return false;
    const char* name = virtualKey == VK_CAPITAL   ? "Caps Lock"
                       : virtualKey == VK_NUMLOCK ? "Num Lock"
                       : virtualKey == VK_SCROLL  ? "Scroll Lock"
                                                  : nullptr;
    if (!name) return false;
    const Atom indicator = XInternAtom(display, name, True);
    Bool on = False;
    if (indicator == 0 || !XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr))
        return false;
    return on != False;
#else
    (void)virtualKey;
    return false;
#endif
}

}  // namespace qtbackend
