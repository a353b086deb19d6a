#include "tools/PrintedMushaf.h"

#include "content/MushafCounts.h"
#include "content/PageGeometry.h"
#include "tools/ImportSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

const QString LinesFile = QStringLiteral("data/hafs/raw.json");

// Pages 1 and 2 hold the opening sourehs in 8 lines each; every other page has 15.
constexpr int OpeningPages = 2;
constexpr int OpeningPageLines = 8;
constexpr int LineCount = OpeningPages * OpeningPageLines + (PageCount - OpeningPages) * LinesPerPage;

const QString TitleStart = QStringLiteral("سُورَةُ");
// The Bismillah's letters without its marks (the print varies the marks of a few).
const QString BismillahLetters = QStringLiteral("بسمٱللهٱلرحمنٱلرحيم");

QString Letters(const QString& text) {
    QString letters;
    for (const QChar c : text) {
        if (c.category() == QChar::Letter_Other)
            letters += c;
    }
    return letters;
}

[[noreturn]] void Malformed(const QString& what) {
    throw ToolError(QStringLiteral("the printed lines (%1 of @saqfish/asim) do not hold the Mushaf as "
                                   "expected: %2")
                        .arg(LinesFile, what));
}

struct Place {
    int Page = 0;
    int Line = 0; // from 1
    QString Text() const { return QStringLiteral("page %1, line %2").arg(Page).arg(Line); }
};

Place PlaceOf(int index) {
    if (index < OpeningPages * OpeningPageLines)
        return {index / OpeningPageLines + 1, index % OpeningPageLines + 1};
    const int rest = index - OpeningPages * OpeningPageLines;
    return {OpeningPages + rest / LinesPerPage + 1, rest % LinesPerPage + 1};
}

} // namespace

PrintedMushaf PrintedMushaf::Load(const QString& directory) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        ReadPrintedMushafFile(directory, LinesFile, QStringLiteral("printed lines")), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        Malformed(QStringLiteral("the file is no JSON list (%1)").arg(error.errorString()));
    std::vector<QString> lines;
    for (const auto& value : document.array()) {
        if (!value.isString())
            Malformed(QStringLiteral("entry %1 is no text").arg(lines.size() + 1));
        lines.push_back(value.toString());
    }
    return FromLines(lines);
}

PrintedMushaf PrintedMushaf::FromLines(const std::vector<QString>& lines) {
    if (int(lines.size()) != LineCount)
        Malformed(QStringLiteral("%1 lines instead of %2 (pages 1 and 2 with %3 lines, the others with %4)")
                      .arg(lines.size())
                      .arg(LineCount)
                      .arg(OpeningPageLines)
                      .arg(LinesPerPage));
    static const QRegularExpression number(QStringLiteral("\u00a0([\u0660-\u0669]+)"));

    PrintedMushaf print;
    print.Pages.resize(PageCount);
    for (int soureh = 1; soureh <= SourehCount; ++soureh) {
        print.AyehPages.emplace_back(size_t(NumberOfAyehs(soureh)), 0);
        print.AyehTexts.emplace_back(size_t(NumberOfAyehs(soureh)));
    }
    int soureh = 0;
    int nextAyeh = 1;
    bool bismillahDue = false;
    for (int index = 0; index < LineCount; ++index) {
        const Place place = PlaceOf(index);
        const QString text = lines[size_t(index)].trimmed();
        PrintedLine line;
        line.Soureh = soureh;
        if (text.isEmpty())
            Malformed(place.Text() + QStringLiteral(" is empty"));
        if (text.startsWith(TitleStart)) {
            if (soureh > 0 && nextAyeh <= NumberOfAyehs(soureh))
                Malformed(
                    QStringLiteral("%1: a soureh title comes before soureh %2 ends (its ayeh %3 is due)")
                        .arg(place.Text())
                        .arg(soureh)
                        .arg(nextAyeh));
            if (++soureh > SourehCount)
                Malformed(QStringLiteral("%1: a title after the last soureh").arg(place.Text()));
            nextAyeh = 1;
            // Soureh 1's Bismillah is its first ayeh, and soureh 9 has none.
            bismillahDue = soureh != 1 && soureh != 9;
            line.Type = PrintedLine::Kind::Title;
            line.Soureh = soureh;
            line.Text = text;
        } else if (soureh == 0) {
            Malformed(QStringLiteral("%1: the text begins before the first soureh title").arg(place.Text()));
        } else if (bismillahDue) {
            if (Letters(text) != BismillahLetters || number.match(text).hasMatch())
                Malformed(QStringLiteral("%1: the title of soureh %2 is not followed by the Bismillah alone")
                              .arg(place.Text())
                              .arg(soureh));
            bismillahDue = false;
            line.Type = PrintedLine::Kind::Bismillah;
            line.Text = text;
        } else {
            const auto addPiece = [&](const QString& words, bool ends) {
                if (nextAyeh > NumberOfAyehs(soureh))
                    Malformed(QStringLiteral("%1: text after the last ayeh of soureh %2")
                                  .arg(place.Text())
                                  .arg(soureh));
                if (words.isEmpty())
                    Malformed(QStringLiteral("%1: ayeh %2:%3 has no words before its number")
                                  .arg(place.Text())
                                  .arg(soureh)
                                  .arg(nextAyeh));
                QString& ayehText = print.AyehTexts[size_t(soureh - 1)][size_t(nextAyeh - 1)];
                if (ayehText.isEmpty())
                    print.AyehPages[size_t(soureh - 1)][size_t(nextAyeh - 1)] = place.Page;
                else
                    ayehText += QLatin1Char(' ');
                ayehText += words;
                line.Pieces.push_back({soureh, nextAyeh, words, ends});
                if (ends)
                    ++nextAyeh;
            };
            qsizetype from = 0;
            for (auto it = number.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                int value = 0;
                for (const QChar digit : match.capturedView(1))
                    value = 10 * value + digit.digitValue();
                if (value != nextAyeh)
                    Malformed(QStringLiteral("%1: the number %2 ends an ayeh where ayeh %3:%4 is due")
                                  .arg(place.Text())
                                  .arg(value)
                                  .arg(soureh)
                                  .arg(nextAyeh));
                addPiece(text.mid(from, match.capturedStart() - from).trimmed(), true);
                from = match.capturedEnd();
            }
            if (const QString rest = text.mid(from).trimmed(); !rest.isEmpty())
                addPiece(rest, false);
        }
        const bool lastOfPage = place.Line == (place.Page <= OpeningPages ? OpeningPageLines : LinesPerPage);
        if (lastOfPage && (line.Pieces.empty() || !line.Pieces.back().EndsAyeh))
            Malformed(QStringLiteral("%1: page %2 does not end at the end of an ayeh")
                          .arg(place.Text())
                          .arg(place.Page));
        print.Pages[size_t(place.Page - 1)].push_back(std::move(line));
    }
    if (soureh != SourehCount || nextAyeh <= NumberOfAyehs(SourehCount))
        Malformed(
            QStringLiteral("the lines end before soureh %1 does (at ayeh %2)").arg(soureh).arg(nextAyeh));
    return print;
}

int PrintedMushaf::PageOf(int soureh, int ayeh) const {
    return AyehPages.at(size_t(soureh - 1)).at(size_t(ayeh - 1));
}

const QString& PrintedMushaf::AyehText(int soureh, int ayeh) const {
    return AyehTexts.at(size_t(soureh - 1)).at(size_t(ayeh - 1));
}

QStringList PrintedMushaf::WordsOf(const QString& text) {
    static const QRegularExpression spaces(QStringLiteral("[ \u00a0]+"));
    return text.split(spaces, Qt::SkipEmptyParts);
}

int PrintedMushaf::BandOf(int lineCount, int index) {
    return (LinesPerPage - lineCount) / 2 + 1 + index;
}

QByteArray ReadPrintedMushafFile(const QString& directory, const QString& file, const QString& what) {
    const QString path = QDir(directory).filePath(file);
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        throw ToolError(
            QStringLiteral("the %1 are missing: cannot read %2 (%3; run make setup, or give the unpacked "
                           "@saqfish/asim package with --print DIR)")
                .arg(what, QDir::toNativeSeparators(path), input.errorString()));
    return input.readAll();
}

QString FindPrintedMushafPackage(const QString& explicitDir) {
    return FindSourcePackage(explicitDir, QStringLiteral("asim"), QStringLiteral("@saqfish/asim"),
                             QStringLiteral("--print"));
}
