// The error box shown when a file could not be written.
#pragma once

#include "framework/types.h"

class CWnd;

// Answers whether a writer's `answer` (0 written, nonzero failed) tells of success. On a failure
// shows "Impossible d'enregistrer le fichier <path> : <reason>" with the caption "Kurvomat" and the
// error icon over `owner` (the application's own box when there is none); the reason is errno's,
// so nothing may run between the writer and this call.
bool CheckSaved(CWnd* owner, int answer, LPCTSTR path);
