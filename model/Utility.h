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

#include "audio/AudioPlayer.h"
#include "content/Database.h"
#include "model/Display.h"
#include "model/Lifetime.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>

// Failures of the reading model itself: a page picture that cannot be decoded, a pixel row
// asked for outside the picture.
class ModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TQuran;
class TQuranPage;
class TSoureh;
class TAyeh;

// The one book of the application; the main window fills and frees it.
extern std::unique_ptr<TQuran> GlobalQuran;

// Band bounds of lines 1 to 15 of a 690-row page without a Lines row: line i runs from
// entry i - 1 to entry i.
inline constexpr int DefaultLineRows[16] = {0,   46,  92,  138, 184, 230, 276, 322,
                                            368, 414, 460, 506, 552, 598, 644, 689};

// Height of a default line and the scroll box's step.
inline constexpr int DefaultLineHeight = 46;

class TQuran final {
public:
    // Opens quran.dat, then snd.wav, from the current working directory, makes soureh 1 current
    // and shows the page of its ayeh 1. On failure the partial book is released as by the
    // destructor and the error passes on.
    TQuran(IPageNoEdit* pageNoEdit, IScrollBox* scrollBox, IPageImage* image, AudioPlayer* player);
    ~TQuran();
    TQuran(const TQuran&) = delete;
    TQuran& operator=(const TQuran&) = delete;

    std::unique_ptr<TQuranPage> Page;
    std::unique_ptr<TSoureh> Soureh;
    int GhariID = 0;
    IPageImage* Image = nullptr;
    QString SoundFile;
    AudioPlayer* Player = nullptr;
    std::unique_ptr<Connection> QuranConnection;
    IScrollBox* ScrollBox = nullptr;
    IPageNoEdit* PageNoEdit = nullptr;
    // Owned by the book and released last, after the player is closed.
    std::unique_ptr<Connection> SoundConnection;
    // The private per-user sound cache; created (mode 0700) when a recording is first written.
    QString TempFolder;
    // Where the sound cache reports a recording it cannot write; null sends it to stderr.
    IErrorBox* ErrorBox = nullptr;

    TSoureh* SelectSoureh(int sourehId);
    // "N- Name" per soureh in number order; no list when the table is empty.
    std::optional<QStringList> GetSourehList();
    void GoToPage(int pageId);
    void SetPage(std::unique_ptr<TQuranPage> page);
    void SetSoureh(std::unique_ptr<TSoureh> soureh);

    // Extracts the current reciter's recording into its cache file unless that file is the one
    // loaded now, and returns the file's path (also when nothing could be extracted). With
    // processPending, pending events run just before the file is written; if the book is
    // destroyed there, nothing is written and the path is returned without touching the book.
    QString PrepareSound(int sourehId, int ayehId, bool processPending);
    // Points the player at path and opens it; a different path deletes the previous file.
    void LoadSound(const QString& path);
    void PlayBismillah();

    // The reciter names of snd.wav's optional Reciters table in GhariID order; empty when
    // the table is missing.
    QStringList GetReciterNames();

    // Cache file name of a recording: "g-s-a.wav".
    static QString SoundFileName(int ghariId, int sourehId, int ayehId);

    std::weak_ptr<const void> Watch() const { return Life.Watch(); }

private:
    void Release() noexcept;
    bool EnsureTempFolder();
    bool WriteSoundFile(const QString& path, const QByteArray& bytes);
    void ShowSoundError();

    LifeToken Life;
};

// One page: its picture, its line bands and the ayehs on it.
class TQuranPage final {
public:
    // A page the database does not hold still yields an object, with an empty bitmap.
    // Throws ModelError("Bitmap image is not valid") for a picture that is no Windows bitmap.
    TQuranPage(TQuran* quran, int pageId);
    ~TQuranPage();
    TQuranPage(const TQuranPage&) = delete;
    TQuranPage& operator=(const TQuranPage&) = delete;

    int FirstSourehID = 0;
    int FirstAyehID = 0;
    std::unique_ptr<ResultSet> AyehQuery;
    std::unique_ptr<ResultSet> LinesQuery;
    int PageID = 0;
    TQuran* Quran = nullptr;

    // The page picture: stored size, format and palette until ConvertTo24Bits.
    const QImage& Bitmap() const { return Picture; }
    int Width() const { return Picture.width(); }
    int Height() const { return Picture.height(); }
    // Converts the picture in place to 24 bits per pixel, blue, green, red in each row.
    void ConvertTo24Bits();
    // Pixel row y; throws ModelError("Scan line index out of range") outside the picture.
    const uchar* ScanLine(int y) const;

    int PositionOf(int line, int x) const;
    // The line whose half-open band [StartRow, EndRow) holds row y, or 0.
    int LineAt(int y);
    // Bounds from the page's Lines row, else DefaultLineRows; a line outside 1 to 15 without
    // a row is an empty band (end before start) just above or below the picture.
    int StartRow(int line);
    int EndRow(int line);
    bool HasAyehAt(int y, int x);
    // Reports the ayeh at (y, x); where there is none, 0, 0 and an empty text.
    void GetAyehAt(int y, int x, int& sourehId, int& ayehId, QString& translation);
    void Show();

private:
    void LoadBitmap(const QByteArray& blob);
    void ApplyFilter(int position);
    void OpenAyehQuery();
    void OpenLinesQuery();
    void LoadFirstAyeh();

    QImage Picture;
};

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
    // count times. Returns at once when the events destroyed this ayeh.
    void Recite(int count);

    std::weak_ptr<const void> Watch() const { return Life.Watch(); }

private:
    LifeToken Life;
};
