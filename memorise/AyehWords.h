#pragma once
// How many words a sitting reveals of each ayeh: the words the page's typesetting prints for
// it, so that the view hides and shows the same words; content without typeset words falls
// back to the words of the ayeh's text.

#include "learning/ReviewPlan.h"
#include "learning/Sitting.h"

#include <QString>
#include <functional>

class Connection;

// The words of a text separated by white space.
int WordsOfText(const QString& text);

// Reads the pages it needs once each. quran and pages must outlive what it returns; text
// gives an ayeh's text for the fallback.
WordCounts TypesetWordCounts(const Connection& quran, const AyehPages& pages,
                             std::function<QString(int sourehId, int ayehId)> text);
