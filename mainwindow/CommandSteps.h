#pragma once
// Steps that the main window's commands and its continuous recitation share.

class TAyeh;
class TTntMainForm;

// Whether there is a book to act on: none when it could not be built or the window has been
// closed.
bool HasBook();

// Ayeh selection: makes ayeh A of soureh S the book's current ayeh and returns it.
TAyeh* SelectAyeh(int sourehId, int ayehId);

// The repeat count in the window's box. A number typed beyond the box's range and not yet
// confirmed counts as the nearest one the box can show.
int RepeatCount(const TTntMainForm& form);

// Recites the ayeh count times, then the translation step. Reciting runs pending events, in
// which the window may be closed or even destroyed: false when there is nothing left to go
// on with, and then nothing more has been done.
bool ReciteAndShow(TTntMainForm& form, TAyeh* ayeh, int count);
