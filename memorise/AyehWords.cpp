#include "memorise/AyehWords.h"

#include "mushaf/MushafStore.h"

#include <QRegularExpression>
#include <map>
#include <memory>
#include <optional>

int WordsOfText(const QString& text) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return int(text.split(space, Qt::SkipEmptyParts).size());
}

WordCounts TypesetWordCounts(const Connection& quran, const AyehPages& pages,
                             std::function<QString(int, int)> text) {
    struct Cache {
        std::optional<MushafStore> Store;
        std::map<int, std::map<std::pair<int, int>, int>> Pages;
    };
    auto cache = std::make_shared<Cache>();
    try {
        if (MushafStore::HasGlyphs(quran))
            cache->Store.emplace(quran);
    } catch (const std::exception&) {
        // Glyphs that cannot be read: the ayehs' texts are counted instead.
        cache->Store.reset();
    }
    return [cache, &pages, text = std::move(text)](int sourehId, int ayehId) {
        const int pageId = pages.PageOf(sourehId, ayehId);
        if (cache->Store && pageId > 0) {
            auto found = cache->Pages.find(pageId);
            if (found == cache->Pages.end()) {
                std::map<std::pair<int, int>, int> counts;
                try {
                    const MushafPage page = cache->Store->Page(pageId);
                    for (const MushafWord& word : page.Words())
                        if (word.Kind == MushafItemKind::Word)
                            ++counts[{word.Soureh, word.Ayeh}];
                } catch (const std::exception&) {
                    counts.clear();
                }
                found = cache->Pages.emplace(pageId, std::move(counts)).first;
            }
            const auto ayeh = found->second.find({sourehId, ayehId});
            if (ayeh != found->second.end())
                return ayeh->second;
        }
        return text ? WordsOfText(text(sourehId, ayehId)) : 0;
    };
}
