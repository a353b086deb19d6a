#include "model/Records.h"

#include "model/Page.h"
#include "model/Quran.h"

#include <QCoreApplication>
#include <algorithm>

bool BismillahComesFirst(int sourehId, int ayehId) {
    return ayehId == 1 && sourehId != 1 && sourehId != 9;
}

TSoureh::TSoureh(TQuran* quran, int sourehId) : Quran(quran), SourehID(sourehId) {
    const ResultSet query(*Quran->QuranConnection, Statements::Soureh(SourehID));
    if (query.RecordCount() != 1)
        return;
    SourehName = query.FieldByName("SourehName").AsString();
    Maki = query.FieldByName("Maki").AsBoolean();
    SetPage(std::make_unique<TQuranPage>(Quran, query.FieldByName("PageID").AsInteger()));
    NumberOfAyeh = query.FieldByName("NumberOfAyeh").AsInteger();
    SetAyeh(std::make_unique<TAyeh>(this, 1));
}

TSoureh::~TSoureh() = default;

TAyeh* TSoureh::SelectAyeh(int number) {
    SetAyeh(std::make_unique<TAyeh>(this, number));
    return Ayeh.get();
}

void TSoureh::SetAyeh(std::unique_ptr<TAyeh> newAyeh) {
    if (Ayeh && Ayeh->AyehID == newAyeh->AyehID)
        return; // the current ayeh stays, with its flags
    Ayeh = std::move(newAyeh);
}

void TSoureh::SetPage(std::unique_ptr<TQuranPage> page) {
    Quran->SetPage(std::move(page));
}

std::optional<QStringList> TSoureh::GetAyehList() {
    ResultSet query(*Quran->QuranConnection, Statements::AyehList(SourehID));
    if (query.RecordCount() == 0)
        return std::nullopt;
    QStringList list;
    for (query.First(); !query.Eof(); query.Next())
        list << query.FieldByName("AyehID").AsString();
    return list;
}

TAyeh::TAyeh(TSoureh* soureh, int ayehId) : Soureh(soureh) {
    const ResultSet query(*Soureh->Quran->QuranConnection, Statements::Ayeh(Soureh->SourehID, ayehId));
    if (query.RecordCount() != 1)
        return;
    AyehID = ayehId;
    SetPage(std::make_unique<TQuranPage>(Soureh->Quran, query.FieldByName("PageID").AsInteger()));
    StartLine = query.FieldByName("StartLine").AsInteger();
    EndLine = query.FieldByName("EndLine").AsInteger();
    StartCol = query.FieldByName("StartCol").AsInteger();
    EndCol = query.FieldByName("EndCol").AsInteger();
    FarsiTranslation = query.FieldByName("FarsiTranslation").AsString();
}

TAyeh::~TAyeh() = default;

TQuranPage* TAyeh::GetPage() const {
    return Soureh->Quran->Page.get();
}

void TAyeh::SetPage(std::unique_ptr<TQuranPage> page) {
    Soureh->Quran->SetPage(std::move(page));
}

namespace {
int FloorToMultiple(int value, int step) {
    const int quotient = value / step - (value % step < 0 ? 1 : 0);
    return quotient * step;
}
} // namespace

void TAyeh::ScrollIntoView() {
    TQuranPage* page = GetPage();
    IScrollBox* box = Soureh->Quran->ScrollBox;
    if (!page || !box)
        return;
    // Stored bounds far outside the picture are held to a range in which the tests below
    // cannot overflow.
    constexpr int Far = 1 << 24;
    const int start = std::clamp(page->StartRow(StartLine), -Far, Far);
    const int end = std::clamp(page->EndRow(EndLine), -Far, Far);

    box->SetVertPosition(FloorToMultiple(box->VertPosition(), DefaultLineHeight));
    const int height = box->ClientHeight();
    const int top = box->VertPosition();
    const int bottom = top + height;

    if (start >= bottom)
        box->SetVertPosition(end - height);
    if (end <= top)
        box->SetVertPosition(start);
    if (start < bottom && end > bottom)
        box->SetVertPosition(end - height);
    if (start < top && end > top)
        box->SetVertPosition(start);
}

// Rows and columns are clipped to the picture: geometry outside it paints nothing there.
void TAyeh::Highlight() {
    ScrollIntoView();
    TQuranPage* page = GetPage();
    IPageImage* image = Soureh->Quran->Image;
    if (!page || !image)
        return;
    page->ConvertTo24Bits();
    const int width = page->Width();
    const int height = page->Height();

    const auto paintLine = [&](int line, int x0, int x1) {
        const int firstRow = std::max(page->StartRow(line), 0);
        const int lastRow = std::min(page->EndRow(line), height - 1);
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x1 < x0)
            return;
        for (int y = firstRow; y <= lastRow; ++y) {
            const uchar* row = page->ScanLine(y);
            for (int x = x0; x <= x1; ++x) {
                const uchar* pixel = row + std::ptrdiff_t{3} * x; // blue, green, red
                if (pixel[0] < HighlightLevel && pixel[1] < HighlightLevel && pixel[2] < HighlightLevel)
                    image->SetPixel(x, y, qRgb(255, 0, 0));
            }
        }
    };

    int line = StartLine;
    for (; line < EndLine; ++line) {
        paintLine(line, 0, line == StartLine ? StartCol : width - 1);
        // Lines without a Lines row outside 1 to 15 are empty bands: a damaged row spanning
        // billions of lines goes on at the picture's edge instead of stepping through them.
        if (line < -1)
            line = std::max(line, std::min(EndLine, -1) - 1);
        else if (line > 16)
            line = EndLine - 1;
    }
    if (line == StartLine)
        paintLine(line, EndCol, StartCol);
    else
        paintLine(line, EndCol, width - 1);
}

void TAyeh::Recite(int count) {
    const auto alive = Watch();
    TQuran* quran = Soureh->Quran;
    // Until this recitation has begun its play, no notice is the end of the awaited one.
    quran->AwaitedPlay = 0;
    const quint64 recitation = ++quran->Recitations;
    if (TQuranPage* page = GetPage())
        page->Show();
    Highlight();
    QCoreApplication::processEvents();
    // The handlers that ran may have released this ayeh, its soureh or the whole book, or
    // begun another recitation, which then goes on instead of this one.
    if (alive.expired() || quran->Recitations != recitation)
        return;

    if (BismillahComesFirst(Soureh->SourehID, AyehID) && !BismillahPlayed) {
        BismillahPlayed = true;
        quran->PlayBismillah();
        return;
    }

    const QString path = quran->PrepareSound(Soureh->SourehID, AyehID, false);
    if (alive.expired() || quran->Recitations != recitation) // the error box runs events too
        return;
    try {
        // The recording the player has begun from its queue goes on where it is; paused there
        // by the user, it stays paused, and continuing it plays on.
        if (count <= 0 || !quran->AdoptSound(path))
            quran->LoadSound(path);
        if (quran->Player->Mode() != pmPaused)
            for (int i = 0; i < count; ++i)
                quran->Player->Play();
        if (count > 0)
            quran->AwaitedPlay = quran->Player->CurrentPlay();
        RecitationStarted = true;
    } catch (const std::exception&) {
        quran->Player->Close();
    }
}
