#include "model/AyehSearch.h"

#include "content/Database.h"

#include <QHash>
#include <algorithm>

namespace {

constexpr char16_t Alef = 0x0627;
constexpr char16_t Lam = 0x0644;
constexpr char16_t Yeh = 0x064A;
constexpr char16_t Kaf = 0x0643;
constexpr char16_t Heh = 0x0647;
constexpr char16_t Dropped = 0;

// The folded form of one character, or Dropped.
char16_t Fold(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
    switch (c) {
    case 0x0622: // آ
    case 0x0623: // أ
    case 0x0625: // إ
    case 0x0671: // ٱ
    case 0x0672:
    case 0x0673:
        return Alef;
    case 0x0649: // ى
    case 0x06CC: // ی
        return Yeh;
    case 0x06A9: // ک
    case 0x06AA:
        return Kaf;
    case 0x0629: // ة
    case 0x06BE: // ھ
    case 0x06C0: // ۀ
    case 0x06C1:
    case 0x06D5:
        return Heh;
    case 0x0640: // tatweel
    case 0x061C: // Arabic letter mark
    case 0x200B:
    case 0x200C: // zero-width non-joiner
    case 0x200D:
    case 0x200E:
    case 0x200F:
    case 0xFEFF:
        return Dropped;
    default:
        break;
    }
    if ((c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670 ||
        (c >= 0x06D6 && c <= 0x06ED))
        return Dropped;
    if (c >= 0x0660 && c <= 0x0669)
        return char16_t(u'0' + (c - 0x0660));
    if (c >= 0x06F0 && c <= 0x06F9)
        return char16_t(u'0' + (c - 0x06F0));
    // The rest of the Arabic block and the spaces and punctuation between words stay.
    if ((c >= 0x0600 && c <= 0x06FF) || (c >= 0x2000 && c <= 0x206F))
        return c;
    const QChar::Category category = QChar(c).category();
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
        return Dropped;
    return c;
}

// Letters that may stand before a word's stem within the word: the article, one-letter
// prefixes (and, so, with, like, for) and the two together, folded.
bool IsPrefix(QStringView letters) {
    const auto oneLetter = [](QChar c) {
        return c == u'و' || c == u'ف' || c == u'ب' || c == u'ك' || c == u'ل';
    };
    const auto article = [](QStringView two) { return two[0] == QChar(Alef) && two[1] == QChar(Lam); };
    switch (letters.size()) {
    case 1:
        return oneLetter(letters[0]);
    case 2: // ال, or لل: a preposition joined to the article
        return article(letters) || (letters[0] == QChar(Lam) && letters[1] == QChar(Lam));
    case 3:
        return (oneLetter(letters[0]) && letters[0] != QChar(Lam) && article(letters.mid(1))) ||
               ((letters[0] == u'و' || letters[0] == u'ف') && letters[1] == QChar(Lam) &&
                letters[2] == QChar(Lam));
    default:
        return false;
    }
}

// How well a match of length at `at` of folded text sits on a word: 1 inside it, 2 at its
// start, 3 the whole of it. The first match in a word is the best there.
int Quality(QStringView text, qsizetype at, qsizetype length) {
    qsizetype wordStart = at;
    while (wordStart > 0 && IsWordCharacter(text[wordStart - 1]) && at - wordStart < 3)
        --wordStart;
    const bool atStart = (wordStart == 0 || !IsWordCharacter(text[wordStart - 1])) &&
                         (wordStart == at || IsPrefix(text.mid(wordStart, at - wordStart)));
    if (!atStart)
        return 1;
    const qsizetype end = at + length;
    return end == text.size() || !IsWordCharacter(text[end]) ? 3 : 2;
}

// The first place from `from` on where term stands in text. The search runs to a letter of the
// term that is rare in Arabic and Persian text, found with the vector scan of a single
// character, and compares the rest there.
qsizetype FindTerm(QStringView text, QStringView term, qsizetype from) {
    static const QString common = QStringLiteral(u"اليونمهرتبد ");
    qsizetype anchor = 0;
    while (anchor + 1 < term.size() && common.contains(term[anchor]))
        ++anchor;
    const QChar letter = term[anchor];
    if (term.size() == 1)
        return text.indexOf(letter, from);
    for (qsizetype at = text.indexOf(letter, from + anchor); at >= 0; at = text.indexOf(letter, at + 1)) {
        const qsizetype start = at - anchor;
        if (text.size() - start >= term.size() && text.mid(start, term.size()) == term)
            return start;
    }
    return -1;
}

} // namespace

QString FoldForSearch(QStringView text, std::vector<int>* origins) {
    QString folded;
    folded.reserve(text.size());
    if (origins) {
        origins->clear();
        origins->reserve(size_t(text.size()));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = Fold(text[i].unicode());
        if (c == Dropped)
            continue;
        folded.append(QChar(c));
        if (origins)
            origins->push_back(int(i));
    }
    return folded;
}

QStringList SearchTerms(QStringView query) {
    const QString folded = FoldForSearch(query);
    QStringList terms;
    qsizetype i = 0;
    while (i < folded.size() && terms.size() < TAyehIndex::MaxTerms) {
        while (i < folded.size() && !IsWordCharacter(folded[i]))
            ++i;
        const qsizetype start = i;
        while (i < folded.size() && IsWordCharacter(folded[i]))
            ++i;
        QString term = folded.mid(start, i - start);
        if (term.size() >= 5 && term[0] == QChar(Alef) && term[1] == QChar(Lam))
            term.remove(0, 2);
        if (!term.isEmpty() && !terms.contains(term))
            terms << term;
    }
    return terms;
}

QString PersianNumber(int number) {
    QString text = QString::number(number);
    for (QChar& c : text)
        if (c >= u'0' && c <= u'9')
            c = QChar(char16_t(0x06F0 + (c.unicode() - u'0')));
    return text;
}

std::vector<TTextSpan> MatchedWords(QStringView text, QStringView query) {
    std::vector<int> origins;
    const QString folded = FoldForSearch(text, &origins);
    std::vector<TTextSpan> spans;
    for (const QString& term : SearchTerms(query)) {
        for (qsizetype at = folded.indexOf(term); at >= 0; at = folded.indexOf(term, at + term.size())) {
            qsizetype start = origins[size_t(at)];
            qsizetype end = origins[size_t(at + term.size() - 1)] + 1;
            while (start > 0 && !text[start - 1].isSpace())
                --start;
            while (end < text.size() && !text[end].isSpace())
                ++end;
            spans.push_back({int(start), int(end - start)});
        }
    }
    std::sort(spans.begin(), spans.end(),
              [](const TTextSpan& a, const TTextSpan& b) { return a.Start < b.Start; });
    std::vector<TTextSpan> merged;
    for (const TTextSpan& span : spans) {
        if (!merged.empty() && span.Start <= merged.back().Start + merged.back().Length) {
            TTextSpan& last = merged.back();
            last.Length = std::max(last.Length, span.Start + span.Length - last.Start);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

TExcerpt Excerpt(QStringView text, const std::vector<TTextSpan>& marks, int maxLength) {
    qsizetype start = 0;
    if (!marks.empty() && marks.front().Start + marks.front().Length > maxLength) {
        // A few words before the first mark, from the start of a word.
        start = std::max<qsizetype>(0, marks.front().Start - maxLength / 4);
        while (start > 0 && start < marks.front().Start && !text[start - 1].isSpace())
            ++start;
    }
    qsizetype end = text.size();
    if (end - start > maxLength) {
        end = start + maxLength;
        qsizetype space = end;
        while (space > start + maxLength / 2 && !text[space].isSpace())
            --space;
        if (space > start + maxLength / 2)
            end = space;
    }
    TExcerpt excerpt;
    if (start > 0)
        excerpt.Text = QStringLiteral(u"… ");
    const qsizetype shift = excerpt.Text.size() - start;
    excerpt.Text += text.mid(start, end - start);
    if (end < text.size())
        excerpt.Text += QStringLiteral(u" …");
    for (const TTextSpan& mark : marks) {
        const qsizetype from = std::max<qsizetype>(mark.Start, start);
        const qsizetype to = std::min<qsizetype>(mark.Start + mark.Length, end);
        if (from < to)
            excerpt.Marks.push_back({int(from + shift), int(to - from)});
    }
    return excerpt;
}

// --- TAyehIndex ---

TAyehIndex::TAyehIndex(std::vector<TAyehText> ayehs, QStringList sourehNames, bool hasArabicText)
    : Ayehs(std::move(ayehs)), SourehNames(std::move(sourehNames)), ArabicText(hasArabicText) {
    if (ArabicText)
        TextWords = Collect(Ayehs, &TAyehText::Text);
    TranslationWords = Collect(Ayehs, &TAyehText::Translation);
}

TAyehIndex::Words TAyehIndex::Collect(const std::vector<TAyehText>& ayehs, QString TAyehText::*field) {
    // Every text folded into one string first, so that the words can be looked up as views
    // into it.
    QString folded;
    std::vector<qsizetype> ends;
    ends.reserve(ayehs.size());
    for (const TAyehText& ayeh : ayehs) {
        folded += FoldForSearch(ayeh.*field);
        folded += u'\n';
        ends.push_back(folded.size());
    }
    QHash<QStringView, int> ids;
    std::vector<std::vector<int>> ayehsOf;
    size_t ayeh = 0;
    for (qsizetype at = 0; at < folded.size();) {
        if (!IsWordCharacter(folded[at])) {
            ++at;
            continue;
        }
        while (ends[ayeh] <= at)
            ++ayeh;
        const qsizetype start = at;
        while (at < folded.size() && IsWordCharacter(folded[at]))
            ++at;
        const QStringView word = QStringView(folded).mid(start, at - start);
        auto found = ids.constFind(word);
        if (found == ids.cend()) {
            found = ids.insert(word, int(ayehsOf.size()));
            ayehsOf.emplace_back();
        }
        std::vector<int>& list = ayehsOf[size_t(found.value())];
        if (list.empty() || list.back() != int(ayeh))
            list.push_back(int(ayeh));
    }
    std::vector<QStringView> spelled(ayehsOf.size());
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        spelled[size_t(it.value())] = it.key();
    Words words;
    words.Starts.reserve(spelled.size() + 1);
    words.Of.reserve(spelled.size() + 1);
    for (size_t k = 0; k < spelled.size(); ++k) {
        words.Starts.push_back(int(words.All.size()));
        words.All += spelled[k];
        words.All += u'\n';
        words.Of.push_back(int(words.In.size()));
        words.In.insert(words.In.end(), ayehsOf[k].begin(), ayehsOf[k].end());
    }
    words.Starts.push_back(int(words.All.size()));
    words.Of.push_back(int(words.In.size()));
    return words;
}

bool TAyehIndex::HasAyehTextTable(const Connection& quran) {
    return ResultSet(quran, Statements::AyehTextTable()).RecordCount() == 1;
}

std::unique_ptr<TAyehIndex> TAyehIndex::Load(const Connection& quran) {
    QStringList names;
    {
        ResultSet sourehs(quran, Statements::SourehList());
        for (sourehs.First(); !sourehs.Eof(); sourehs.Next()) {
            const int id = sourehs.FieldByName("SourehID").AsInteger();
            if (id < 1 || id > 1000)
                continue;
            while (names.size() < id)
                names.append(QString());
            names[id - 1] = sourehs.FieldByName("SourehName").AsString();
        }
    }
    std::vector<TAyehText> ayehs;
    {
        ResultSet rows(quran, Statements::AyehTranslations());
        ayehs.reserve(size_t(rows.RecordCount()));
        for (rows.First(); !rows.Eof(); rows.Next()) {
            const Field translation = rows.FieldByName("FarsiTranslation");
            ayehs.push_back({rows.FieldByName("SourehID").AsInteger(), rows.FieldByName("AyehID").AsInteger(),
                             QString(), translation.IsNull() ? QString() : translation.AsString()});
        }
    }
    const auto byNumber = [](const TAyehText& a, const TAyehText& b) {
        return std::pair(a.SourehID, a.AyehID) < std::pair(b.SourehID, b.AyehID);
    };
    bool hasText = false;
    if (HasAyehTextTable(quran)) {
        ResultSet rows(quran, Statements::AyehTexts());
        for (rows.First(); !rows.Eof(); rows.Next()) {
            const Field text = rows.FieldByName("Text");
            const TAyehText key{
                rows.FieldByName("SourehID").AsInteger(), rows.FieldByName("AyehID").AsInteger(), {}, {}};
            const auto found = std::lower_bound(ayehs.begin(), ayehs.end(), key, byNumber);
            if (found == ayehs.end() || found->SourehID != key.SourehID || found->AyehID != key.AyehID ||
                text.IsNull())
                continue;
            found->Text = text.AsString();
            hasText = true;
        }
    }
    return std::make_unique<TAyehIndex>(std::move(ayehs), std::move(names), hasText);
}

const TAyehText* TAyehIndex::Find(int sourehId, int ayehId) const {
    const auto found = std::lower_bound(Ayehs.begin(), Ayehs.end(), std::pair(sourehId, ayehId),
                                        [](const TAyehText& a, const std::pair<int, int>& key) {
                                            return std::pair(a.SourehID, a.AyehID) < key;
                                        });
    return found != Ayehs.end() && found->SourehID == sourehId && found->AyehID == ayehId ? &*found : nullptr;
}

QString TAyehIndex::SourehName(int sourehId) const {
    return sourehId >= 1 && sourehId <= SourehNames.size() ? SourehNames[sourehId - 1] : QString();
}

void TAyehIndex::Score(const Words& words, const QString& term, std::vector<quint8>& best) {
    const QStringView all(words.All);
    size_t word = 0;
    for (qsizetype at = FindTerm(all, term, 0); at >= 0; at = FindTerm(all, term, words.Starts[word + 1])) {
        while (words.Starts[word + 1] <= at)
            ++word;
        // The first place of the term in a word is its best there.
        const quint8 quality = quint8(Quality(all, at, term.size()));
        for (int k = words.Of[word]; k < words.Of[word + 1]; ++k) {
            quint8& ayeh = best[size_t(words.In[size_t(k)])];
            ayeh = std::max(ayeh, quality);
        }
    }
}

TSearchResult TAyehIndex::Search(QStringView query, int limit) const {
    TSearchResult result;
    const QStringList terms = SearchTerms(query);
    if (terms.isEmpty() || limit <= 0)
        return result;
    const size_t count = Ayehs.size();
    // The sum of the terms' qualities; -1 once a term is missing.
    std::vector<int> score(count, 0);
    std::vector<quint8> inText(count);
    std::vector<quint8> inTranslation(count);
    for (const QString& term : terms) {
        std::fill(inText.begin(), inText.end(), 0);
        std::fill(inTranslation.begin(), inTranslation.end(), 0);
        if (ArabicText)
            Score(TextWords, term, inText);
        Score(TranslationWords, term, inTranslation);
        bool any = false;
        for (size_t i = 0; i < count; ++i) {
            if (score[i] < 0)
                continue;
            const int quality = inText[i] + inTranslation[i];
            score[i] = quality == 0 ? -1 : score[i] + quality;
            any = any || quality > 0;
        }
        if (!any)
            return result;
    }
    std::vector<int> matched;
    for (size_t i = 0; i < count; ++i)
        if (score[i] > 0)
            matched.push_back(int(i));
    result.Total = int(matched.size());
    const auto shown = matched.begin() + std::min<qsizetype>(limit, qsizetype(matched.size()));
    std::partial_sort(matched.begin(), shown, matched.end(), [&](int a, int b) {
        return score[size_t(a)] != score[size_t(b)] ? score[size_t(a)] > score[size_t(b)] : a < b;
    });
    for (auto it = matched.begin(); it != shown; ++it)
        result.Hits.push_back({Ayehs[size_t(*it)].SourehID, Ayehs[size_t(*it)].AyehID, score[size_t(*it)]});
    return result;
}
