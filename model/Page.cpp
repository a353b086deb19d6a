#include "model/Page.h"

#include "model/Quran.h"

#include <QtEndian>
#include <string>

TQuranPage::TQuranPage(TQuran* quran, int pageId) : Quran(quran) {
    {
        const ResultSet query(*Quran->QuranConnection, Statements::Page(pageId));
        if (query.RecordCount() == 1) {
            const Field blob = query.FieldByName("PageBMP");
            if (!blob.IsNull())
                Picture = DecodePagePicture(blob.AsBytes());
            // Read as the row is read, and not kept.
            query.FieldByName("PageID").AsInteger();
            if (const Field joze = query.FieldByName("Joze"); !joze.IsNull())
                joze.AsInteger();
            if (const Field hezb = query.FieldByName("Hezb"); !hezb.IsNull())
                hezb.AsString();
            if (const Field comment = query.FieldByName("OtherComment"); !comment.IsNull())
                comment.AsString();
        }
    }
    PageID = pageId;
    OpenAyehQuery();
    OpenLinesQuery();
    LoadFirstAyeh();
}

TQuranPage::~TQuranPage() {
    AyehQuery.reset();
    LinesQuery.reset();
}

// A bitmap shorter than the size its file header declares has lost rows at its end; the
// decoder would show them blank rather than fail.
static bool IsTruncatedBitmap(const QByteArray& file) {
    return file.size() >= 6 && qFromLittleEndian<quint32>(file.constData() + 2) > quint32(file.size());
}

QImage DecodePagePicture(const QByteArray& blob) {
    const QByteArray file = BitmapFileInBlob(blob);
    if (file.isEmpty())
        return {};
    QImage decoded;
    if (!file.startsWith("BM") || IsTruncatedBitmap(file) || !decoded.loadFromData(file, "BMP") ||
        decoded.isNull())
        throw ModelError("Bitmap image is not valid");
    return decoded;
}

void ConvertPagePictureTo24Bits(QImage& picture) {
    if (!picture.isNull() && picture.format() != QImage::Format_BGR888)
        picture.convertTo(QImage::Format_BGR888);
}

void TQuranPage::ConvertTo24Bits() {
    ConvertPagePictureTo24Bits(Picture);
}

const uchar* TQuranPage::ScanLine(int y) const {
    if (y < 0 || y >= Picture.height())
        throw ModelError("Scan line index out of range");
    return Picture.constScanLine(y);
}

int TQuranPage::PositionOf(int line, int x) const {
    return ReadingPosition(Width(), line, x);
}

int TQuranPage::LineAt(int y) {
    for (int line = 1; line <= 15; ++line)
        if (StartRow(line) <= y && y < EndRow(line))
            return line;
    return 0;
}

int TQuranPage::StartRow(int line) {
    if (LinesQuery->Locate("LineID", line))
        return LinesQuery->FieldByName("StartRow").AsInteger();
    if (line < 1)
        return 0;
    if (line > 15)
        return DefaultLineRows[15] + 1;
    return DefaultLineRows[line - 1];
}

int TQuranPage::EndRow(int line) {
    if (LinesQuery->Locate("LineID", line))
        return LinesQuery->FieldByName("EndRow").AsInteger();
    if (line < 1)
        return -1;
    if (line > 15)
        return DefaultLineRows[15];
    return DefaultLineRows[line];
}

void TQuranPage::ApplyFilter(int position) {
    const std::string p = std::to_string(position);
    AyehQuery->SetFiltered(false);
    AyehQuery->SetFilter("StartAyeh <= " + p + " and EndAyeh >=" + p);
    AyehQuery->SetFiltered(true);
}

bool TQuranPage::HasAyehAt(int y, int x) {
    const int line = LineAt(y);
    if (line == 0)
        return false;
    ApplyFilter(PositionOf(line, x));
    return !AyehQuery->FieldByName("SourehID").IsNull();
}

void TQuranPage::GetAyehAt(int y, int x, int& sourehId, int& ayehId, QString& translation) {
    ApplyFilter(PositionOf(LineAt(y), x));
    if (AyehQuery->FieldByName("SourehID").IsNull()) {
        sourehId = 0;
        ayehId = 0;
        translation.clear();
        return;
    }
    sourehId = AyehQuery->FieldByName("SourehID").AsInteger();
    ayehId = AyehQuery->FieldByName("AyehID").AsInteger();
    translation = AyehQuery->FieldByName("FarsiTranslation").AsString();
}

void TQuranPage::Show() {
    if (!Picture.isNull() && Quran->Image)
        Quran->Image->DrawBitmap(Picture, 0, 0);
    if (Quran->PageNoEdit)
        Quran->PageNoEdit->SetText(QString::number(PageID));
}

void TQuranPage::OpenAyehQuery() {
    AyehQuery = std::make_unique<ResultSet>(*Quran->QuranConnection, Statements::PageAyehs(PageID));
}

void TQuranPage::OpenLinesQuery() {
    LinesQuery = std::make_unique<ResultSet>(*Quran->QuranConnection, Statements::PageLines(PageID));
}

void TQuranPage::LoadFirstAyeh() {
    const ResultSet query(*Quran->QuranConnection, Statements::FirstAyeh(PageID));
    if (query.RecordCount() != 1)
        return;
    FirstSourehID = query.FieldByName("SourehID").AsInteger();
    FirstAyehID = query.FieldByName("AyehID").AsInteger();
}
