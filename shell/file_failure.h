// The message boxes of a file that could not be written or read, or was read only in part.
#pragma once

#include "framework/types.h"

class CWnd;
struct ReadNote;

// Answers whether a writer's `answer` (0 written, nonzero failed) tells of success. On a failure
// shows "Impossible d'enregistrer le fichier <path> : <reason>" with the caption "Kurvomat" and the
// error icon over `owner` (the application's own box when there is none); the reason is errno's,
// so nothing may run between the writer and this call.
bool CheckSaved(CWnd* owner, int answer, LPCTSTR path);

// Answers whether a reader's `answer` (0 read, nonzero failed) tells of success. On a failure
// shows "Impossible de lire le fichier <path> : <the note's reason>" as CheckSaved shows its box.
// After a success that left text unread (a point table), an information box says how many of
// `pointsRead` were read and quotes the line where the reading stopped.
bool CheckRead(CWnd* owner, int answer, LPCTSTR path, const ReadNote& note, int pointsRead = 0);
