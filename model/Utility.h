#pragma once
// The reading model: the book TQuran with its sound cache, the page TQuranPage with its
// geometry and hit test, and the records TSoureh and TAyeh that scroll, highlight and recite.
//
// Ownership: the book owns its two connections, its current soureh and its current page; the
// soureh owns its current ayeh. Back-references (Quran, Soureh) and the window's controls are
// plain pointers that the owner outlives.
//
// Re-entrancy: TAyeh::Recite, TQuran::PlayBismillah (through PrepareSound) and the error box
// run pending events, whose handlers may destroy the book or select another soureh or ayeh.
// Those calls check afterwards, through Watch(), that what they go on with still exists and
// return at once when it does not. Callers that go on after such a call do the same.

#include "model/Page.h"
#include "model/Quran.h"
#include "model/Records.h"
