#pragma once
// The public text sources of quran.dat: the npm package quran-db (Uthmani text, a Persian
// translation, the 604-page Madani division, soureh names and places of revelation, juz
// ranges). Its files are JavaScript modules; node reads them and hands them over as JSON.
// The book itself is set from the printed lines (PrintedMushaf), which then decide the text
// and the page division.

#include "tools/ImportSupport.h"
#include "tools/PrintedMushaf.h"

#include <QString>
#include <vector>

struct SourceSoureh {
    int Id = 0;
    QString ArabicName;
    bool Maki = false;
    int NumberOfAyeh = 0;
};

struct SourceAyeh {
    int Soureh = 0;
    int Ayeh = 0;
    QString Text;        // Uthmani script, without the end-of-ayeh sign; as printed once the
                         // printed lines are adopted
    QString Translation; // Persian
};

// The ayehs FirstAyeh..LastAyeh of one soureh, in reading order on a page.
struct PageRange {
    int Soureh = 0;
    int FirstAyeh = 0;
    int LastAyeh = 0;
};

class QuranSources final {
public:
    // Reads the package in `directory` (the unpacked quran-db). Throws ToolError naming what
    // is missing or inconsistent, so that a damaged download never yields a partial book.
    static QuranSources Load(const QString& directory);

    // Takes each ayeh's text and the page division from the printed lines, which hold the
    // same ayehs; the translation, the soureh names and places and the juz stay.
    void AdoptPrint(const PrintedMushaf& print);

    const SourceSoureh& Soureh(int id) const { return Sourehs.at(size_t(id - 1)); }
    const SourceAyeh& Ayeh(int soureh, int ayeh) const {
        return Ayehs.at(size_t(soureh - 1)).at(size_t(ayeh - 1));
    }
    const std::vector<PageRange>& Page(int pageId) const { return Pages.at(size_t(pageId - 1)); }
    // The page on which an ayeh stands.
    int PageOf(int soureh, int ayeh) const;
    // The juz (1..30) that holds an ayeh; where the package's ranges overlap, the first wins.
    int JuzOf(int soureh, int ayeh) const;

private:
    struct JuzRange {
        int Juz, Soureh, FirstAyeh, LastAyeh;
    };
    std::vector<SourceSoureh> Sourehs;
    std::vector<std::vector<SourceAyeh>> Ayehs;
    std::vector<std::vector<PageRange>> Pages;
    std::vector<std::vector<int>> AyehPages; // [soureh - 1][ayeh - 1]
    std::vector<JuzRange> Juz;
};
