// Centring a dialog on its parent window.
#include "dialogs/centre_on_parent.h"

#include "framework/wnd.h"

void CentreOnParent(CWnd& dialog) {
    CWnd* parent = dialog.GetParent();
    if (parent == nullptr) parent = CWnd::GetDesktopWindow();
    CRect around;
    parent->GetWindowRect(&around);
    CRect own;
    dialog.GetWindowRect(&own);
    dialog.MoveWindow((around.left + around.right + own.left - own.right) / 2,
                      (around.top + around.bottom + own.top - own.bottom) / 2, own.Width(),
                      own.Height(), TRUE);
}
