#include "mushaf/MushafPage.h"

#include "content/PageGeometry.h"

#include <algorithm>

namespace {

// A line's band as the hit test takes it: the end row belongs to the next line, except on
// the last line, which keeps the picture's last row.
QRectF BandRect(int line, double left, double right) {
    const int top = DefaultStartRow(line);
    const int bottom = line == LinesPerPage ? PagePictureHeight : DefaultEndRow(line);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace

MushafPage::MushafPage(int pageId, std::vector<MushafWord> words) : Id(pageId), Items(std::move(words)) {
    Boxes.resize(Items.size());
    // Items of one line, right to left: each box reaches halfway to its neighbours.
    std::vector<size_t> line;
    const auto close = [&] {
        std::sort(line.begin(), line.end(),
                  [&](size_t a, size_t b) { return Items[a].Right > Items[b].Right; });
        for (size_t i = 0; i < line.size(); ++i) {
            const MushafWord& word = Items[line[i]];
            const double right = i == 0 ? word.Right : (word.Right + Items[line[i - 1]].Left) / 2;
            const double left = i + 1 == line.size() ? word.Left : (word.Left + Items[line[i + 1]].Right) / 2;
            Boxes[line[i]] = BandRect(word.Line, std::min(left, word.Left), std::max(right, word.Right));
        }
        line.clear();
    };
    for (size_t i = 0; i < Items.size(); ++i) {
        if (!line.empty() && Items[line.front()].Line != Items[i].Line)
            close();
        line.push_back(i);
    }
    close();
}

const MushafWord* MushafPage::WordAt(QPointF point) const {
    for (size_t i = 0; i < Items.size(); ++i) {
        const QRectF& box = Boxes[i];
        if (point.x() >= box.left() && point.x() < box.right() && point.y() >= box.top() &&
            point.y() < box.bottom())
            return &Items[i];
    }
    return nullptr;
}

std::optional<AyehKey> MushafPage::AyehAt(QPointF point) const {
    const MushafWord* word = WordAt(point);
    if (!word || !word->InAyeh())
        return std::nullopt;
    return AyehKey{word->Soureh, word->Ayeh};
}

std::vector<AyehKey> MushafPage::Ayehs() const {
    std::vector<AyehKey> ayehs;
    for (const MushafWord& word : Items) {
        if (word.InAyeh() && (ayehs.empty() || ayehs.back() != AyehKey{word.Soureh, word.Ayeh}))
            ayehs.push_back({word.Soureh, word.Ayeh});
    }
    return ayehs;
}

std::vector<QRectF> MushafPage::AyehRects(AyehKey ayeh) const {
    std::vector<QRectF> rects;
    int line = 0;
    for (size_t i = 0; i < Items.size(); ++i) {
        const MushafWord& word = Items[i];
        if (!word.InAyeh() || AyehKey{word.Soureh, word.Ayeh} != ayeh)
            continue;
        if (word.Line != line) {
            rects.push_back(Boxes[i]);
            line = word.Line;
        } else {
            rects.back() |= Boxes[i];
        }
    }
    return rects;
}

QRectF MushafPage::HitBox(const MushafWord& word) const {
    if (Items.empty() || &word < Items.data() || &word >= Items.data() + Items.size())
        return {};
    return Boxes[size_t(&word - Items.data())];
}
