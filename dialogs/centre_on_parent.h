// Placement shared by the function and coefficient dialogs: centred on the parent window.
#pragma once

class CWnd;

// Moves `dialog`, size unchanged, to the centre of its parent window (the desktop when it has
// none): left = (pl + pr + l - r) / 2, top = (pt + pb + t - b) / 2, divisions truncating toward
// zero as integer division does.
void CentreOnParent(CWnd& dialog);
