#pragma once
// The records of the book: the current soureh and, owned by it, the current ayeh, which
// scrolls itself into view, paints its ink red and starts its recitation.

#include "model/Lifetime.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class TQuran;
class TQuranPage;
class TAyeh;

// Whether the Bismillah sounds before this ayeh's recording: before ayeh 1 of every soureh
// but 1 and 9.
bool BismillahComesFirst(int sourehId, int ayehId);

class TSoureh final {
public:
    TSoureh(TQuran* quran, int sourehId);
    ~TSoureh();
    TSoureh(const TSoureh&) = delete;
    TSoureh& operator=(const TSoureh&) = delete;

    std::unique_ptr<TAyeh> Ayeh;
    bool Maki = false;
    int NumberOfAyeh = 0;
    TQuran* Quran = nullptr;
    int SourehID = 0;
    QString SourehName;

    TAyeh* SelectAyeh(int number);
    void SetAyeh(std::unique_ptr<TAyeh> newAyeh);
    void SetPage(std::unique_ptr<TQuranPage> page);
    // The ayeh numbers in ascending order; no list when the soureh has no ayeh rows.
    std::optional<QStringList> GetAyehList();

    std::weak_ptr<const void> Watch() const { return Life.Watch(); }

private:
    LifeToken Life;
};

class TAyeh final {
public:
    TAyeh(TSoureh* soureh, int ayehId);
    ~TAyeh();
    TAyeh(const TAyeh&) = delete;
    TAyeh& operator=(const TAyeh&) = delete;

    int AyehID = 0;
    int EndCol = 0;
    int EndLine = 0;
    QString FarsiTranslation;
    bool RecitationStarted = false;
    bool BismillahPlayed = false;
    TSoureh* Soureh = nullptr;
    int StartCol = 0;
    int StartLine = 0;

    // The book's current page, whichever it is; null when the book has none.
    TQuranPage* GetPage() const;
    void SetPage(std::unique_ptr<TQuranPage> page);
    void Highlight();
    void ScrollIntoView();
    // Shows the page, highlights, runs pending events, then plays the Bismillah or this ayeh
    // count times, and makes that play the one the book awaits. Returns at once when the
    // events destroyed this ayeh or began another recitation.
    void Recite(int count);

    std::weak_ptr<const void> Watch() const { return Life.Watch(); }

private:
    LifeToken Life;
};
