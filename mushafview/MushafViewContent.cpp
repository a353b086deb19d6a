#include "mushafview/MushafViewContent.h"

#include "content/Database.h"
#include "mushafview/MushafViewCaptions.h"
#include "tajweed/TajweedLegend.h"

#include <algorithm>

TMushafViewContent::TMushafViewContent(const Connection& quran) : Quran(quran) {
    if (!MushafStore::HasGlyphs(Quran)) {
        PictureNote = NoteOldContent;
    } else {
        try {
            Store = std::make_unique<MushafStore>(Quran);
            Fonts = MushafFonts::Load(Store->Fonts());
        } catch (const MushafError&) {
            // The pages can still be shown: as their pictures.
            Store.reset();
            PictureNote = NoteNoFont;
        }
    }

    for (ResultSet names(Quran, Statements::SourehList()); !names.Eof(); names.Next()) {
        const int soureh = names.FieldByName("SourehID").AsInteger();
        if (soureh < 1 || soureh > 1000)
            continue;
        if (size_t(soureh) > SourehNames.size())
            SourehNames.resize(size_t(soureh));
        SourehNames[size_t(soureh - 1)] = names.FieldByName("SourehName").AsString();
    }
    for (ResultSet rows(Quran, Statements::AyehTranslations()); !rows.Eof(); rows.Next()) {
        const Field translation = rows.FieldByName("FarsiTranslation");
        Ayehs[{rows.FieldByName("SourehID").AsInteger(), rows.FieldByName("AyehID").AsInteger()}]
            .Translation = translation.IsNull() ? QString() : translation.AsString();
    }
    if (ResultSet(Quran, Statements::AyehTextTable()).RecordCount() == 1) {
        for (ResultSet rows(Quran, Statements::AyehTexts()); !rows.Eof(); rows.Next())
            Ayehs[{rows.FieldByName("SourehID").AsInteger(), rows.FieldByName("AyehID").AsInteger()}].Text =
                rows.FieldByName("Text").AsString();
    }
}

TMushafViewContent::~TMushafViewContent() = default;

MushafViewPage TMushafViewContent::Page(int pageId) const {
    MushafViewPage page;
    page.PageID = pageId;
    {
        const ResultSet row(Quran, Statements::Page(pageId));
        if (row.RecordCount() == 1) {
            const Field juz = row.FieldByName("Joze");
            page.Juz = juz.IsNull() ? 0 : juz.AsInteger();
            const Field picture = row.FieldByName("PageBMP");
            if (!DrawsGlyphs() && !picture.IsNull())
                page.Picture = QImage::fromData(BitmapFileInBlob(picture.AsBytes()), "BMP");
        }
    }
    if (DrawsGlyphs()) {
        page.Glyphs = Store->Page(pageId);
        const auto& words = page.Glyphs.Words();
        const auto first =
            std::find_if(words.begin(), words.end(), [](const MushafWord& w) { return w.Soureh > 0; });
        if (first != words.end())
            page.Soureh = first->Soureh;
    } else {
        const ResultSet first(Quran, Statements::FirstAyeh(pageId));
        if (first.RecordCount() == 1)
            page.Soureh = first.FieldByName("SourehID").AsInteger();
    }
    return page;
}

QString TMushafViewContent::SourehName(int soureh) const {
    return soureh >= 1 && size_t(soureh) <= SourehNames.size() ? SourehNames[size_t(soureh - 1)] : QString();
}

const TMushafViewContent::AyehTexts* TMushafViewContent::Find(AyehKey ayeh) const {
    const auto found = Ayehs.find(ayeh);
    return found == Ayehs.end() ? nullptr : &found->second;
}

QString TMushafViewContent::Translation(AyehKey ayeh) const {
    const AyehTexts* texts = Find(ayeh);
    return texts ? texts->Translation : QString();
}

QString TMushafViewContent::ArabicText(AyehKey ayeh) const {
    const AyehTexts* texts = Find(ayeh);
    return texts ? texts->Text : QString();
}

std::optional<QColor> TMushafViewContent::TajweedColour(AyehKey ayeh, int start, int end) const {
    auto found = Spans.find(ayeh);
    if (found == Spans.end()) {
        const AyehTexts* texts = Find(ayeh);
        found = Spans.emplace(ayeh, texts ? FindTajweedSpans(texts->Text) : std::vector<TajweedSpan>()).first;
    }
    const std::vector<TajweedSpan>& spans = found->second;
    // The spans are ordered by Start and do not overlap: the first that ends after start.
    const auto span = std::upper_bound(spans.begin(), spans.end(), start,
                                       [](int at, const TajweedSpan& s) { return at < s.End; });
    if (span == spans.end() || span->Start >= std::max(end, start + 1))
        return std::nullopt;
    return QColor::fromRgb(QRgb(TajweedLegendOf(span->Rule).Colour));
}
