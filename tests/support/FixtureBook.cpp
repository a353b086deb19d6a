#include "tests/support/FixtureBook.h"

#include "tests/support/WavFixtures.h"

#include <QDir>
#include <stdexcept>

namespace {

bool HasBlobHeader(int pageId) {
    return pageId == 2 || pageId == 4;
}

} // namespace

int FixtureAyeh::StartAyeh() const {
    return FixtureBook::PositionOf(StartLine, StartCol);
}
int FixtureAyeh::EndAyeh() const {
    return FixtureBook::PositionOf(EndLine, EndCol);
}

QString FixtureAyeh::Translation() const {
    return QStringLiteral("ترجمه %1:%2").arg(SourehID).arg(AyehID);
}

const std::vector<FixtureSoureh>& FixtureBook::Sourehs() {
    static const std::vector<FixtureSoureh> sourehs = {
        {1, QStringLiteral("الفاتحة"), true, 1, 7},
        {2, QStringLiteral("البقرة"), false, 2, 5},
        {9, QStringLiteral("التوبة"), false, 4, 2},
        {114, QStringLiteral("الناس"), true, 5, 3},
    };
    return sourehs;
}

const std::vector<FixtureAyeh>& FixtureBook::Ayehs() {
    // soureh, ayeh, page, start line, end line, start column, end column
    static const std::vector<FixtureAyeh> ayehs = {
        {1, 1, 1, 1, 1, 440, 200},   {1, 2, 1, 1, 1, 190, 20},    {1, 3, 1, 2, 3, 440, 300},
        {1, 4, 1, 3, 3, 290, 100},   {1, 5, 1, 4, 6, 440, 100},   {1, 6, 1, 7, 7, 440, 200},
        {1, 7, 1, 8, 9, 440, 50},    {2, 1, 2, 2, 2, 400, 100},   {2, 2, 2, 3, 4, 420, 200},
        {2, 3, 2, 10, 12, 420, 60},  {2, 4, 3, 1, 1, 430, 100},   {2, 5, 3, 3, 5, 430, 80},
        {9, 1, 4, 1, 1, 430, 50},    {9, 2, 4, 2, 2, 430, 100},   {114, 1, 5, 1, 1, 430, 100},
        {114, 2, 5, 2, 2, 430, 100}, {114, 3, 5, 3, 3, 430, 100},
    };
    return ayehs;
}

const FixtureAyeh& FixtureBook::FindAyeh(int sourehId, int ayehId) {
    for (const FixtureAyeh& ayeh : Ayehs())
        if (ayeh.SourehID == sourehId && ayeh.AyehID == ayehId)
            return ayeh;
    throw std::out_of_range("no such fixture ayeh");
}

int FixtureBook::StartRow(int pageId, int line) {
    if (pageId == 2)
        return Page2StartRow(line);
    if (pageId == 3 && line == 3)
        return 100;
    return DefaultStartRow(line);
}

int FixtureBook::EndRow(int pageId, int line) {
    if (pageId == 2)
        return Page2EndRow(line);
    if (pageId == 3 && line == 3)
        return 160;
    return DefaultEndRow(line);
}

// Ink inside each band an ayeh covers, kept a few pixels off the band's edges and the ayeh's
// column ends so that neighbouring ayehs stay apart.
std::vector<QRect> FixtureBook::InkOf(int pageId) {
    std::vector<QRect> rects;
    for (const FixtureAyeh& ayeh : Ayehs()) {
        if (ayeh.PageID != pageId)
            continue;
        for (int line = ayeh.StartLine; line <= ayeh.EndLine; ++line) {
            const int x1 = line == ayeh.StartLine ? ayeh.StartCol : PageWidth - 1;
            const int x0 = line == ayeh.EndLine ? ayeh.EndCol : 0;
            const int top = StartRow(pageId, line) + 8;
            const int bottom = EndRow(pageId, line) - 8;
            rects.push_back(QRect(QPoint(x0 + 3, top), QPoint(x1 - 3, bottom)));
        }
    }
    return rects;
}

QByteArray FixtureBook::Recording(int ghariId, int sourehId, int ayehId) {
    WavSpec wavFormat;
    wavFormat.Rate = 8000;
    wavFormat.DurationMs = 40;
    wavFormat.Variant = ghariId * 1000 + sourehId * 10 + ayehId;
    return WavBytes(wavFormat);
}

void FixtureBook::Create(const QString& dir, const Extra& extra) {
    FixtureDatabase quran(dir + QStringLiteral("/quran.dat"), QuranKey);
    FixtureDatabase sound(dir + QStringLiteral("/snd.wav"), SoundKey);
    CreateQuranTables(quran);
    CreateSoundTables(sound);
    sound.Exec("CREATE TABLE Reciters (GhariID INTEGER PRIMARY KEY, Name TEXT)");

    quran.Begin();
    for (const FixtureSoureh& s : Sourehs())
        quran.Insert("Soureh", {{"SourehID", s.SourehID},
                                {"SourehName", s.Name},
                                {"Maki", s.Maki},
                                {"PageID", s.PageID},
                                {"NumberOfAyeh", s.NumberOfAyeh}});
    for (const FixtureAyeh& a : Ayehs())
        quran.Insert("Ayeh", {{"SourehID", a.SourehID},
                              {"AyehID", a.AyehID},
                              {"PageID", a.PageID},
                              {"StartLine", a.StartLine},
                              {"EndLine", a.EndLine},
                              {"StartCol", a.StartCol},
                              {"EndCol", a.EndCol},
                              {"StartAyeh", a.StartAyeh()},
                              {"EndAyeh", a.EndAyeh()},
                              {"FarsiTranslation", a.Translation()}});
    for (int page = 1; page <= PageCount; ++page) {
        const QByteArray bitmap = MakeBitmap8(PageWidth, PageHeight, 255, InkOf(page), 0);
        quran.Insert("Pages", {{"PageID", page},
                               {"PageBMP", HasBlobHeader(page) ? WithBlobHeader(bitmap) : bitmap},
                               {"Joze", 1},
                               {"Hezb", QStringLiteral("1")},
                               {"OtherComment", QVariant()}});
    }
    for (int line = 1; line <= 15; ++line)
        quran.Insert("Lines", {{"LineID", line},
                               {"PageID", 2},
                               {"StartRow", Page2StartRow(line)},
                               {"EndRow", Page2EndRow(line)}});
    quran.Insert("Lines", {{"LineID", 3}, {"PageID", 3}, {"StartRow", 100}, {"EndRow", 160}});
    quran.Commit();

    sound.Begin();
    for (int ghari = 1; ghari <= 2; ++ghari) {
        sound.Insert("Sounds",
                     {{"SourehID", 0}, {"AyehID", 0}, {"GhariID", ghari}, {"Sound", Recording(ghari, 0, 0)}});
        for (const FixtureAyeh& a : Ayehs()) {
            if (ghari == 2 && a.SourehID == 114)
                continue;
            sound.Insert("Sounds", {{"SourehID", a.SourehID},
                                    {"AyehID", a.AyehID},
                                    {"GhariID", ghari},
                                    {"Sound", Recording(ghari, a.SourehID, a.AyehID)}});
        }
    }
    sound.Insert("Reciters", {{"GhariID", 1}, {"Name", QStringLiteral("قاری یک")}});
    sound.Insert("Reciters", {{"GhariID", 2}, {"Name", QStringLiteral("قاری دو")}});
    sound.Commit();

    if (extra)
        extra(quran, sound);
}

ScopedCurrentDir::ScopedCurrentDir(const QString& dir) : Previous(QDir::currentPath()) {
    if (!QDir::setCurrent(dir))
        throw std::runtime_error("cannot change to " + dir.toStdString());
}

ScopedCurrentDir::~ScopedCurrentDir() {
    QDir::setCurrent(Previous);
}
