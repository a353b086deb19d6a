#include "tools/PrintedQuarters.h"

#include "content/MushafCounts.h"
#include "tools/ImportSupport.h"
#include "tools/PrintedMushaf.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <set>

namespace {

const QString SectionsFile = QStringLiteral("data/hafs/sections.json");
constexpr int JuzCount = 30;
constexpr int QuartersPerJuz = 8;
constexpr int QuartersPerHezb = 4;
const QString QuarterMark = QStringLiteral("۞");

[[noreturn]] void Malformed(const QString& what) {
    throw ToolError(QStringLiteral("the hezb quarters (%1 of @saqfish/asim) do not divide the Mushaf as "
                                   "expected: %2")
                        .arg(SectionsFile, what));
}

QString Name(const std::pair<int, int>& ayeh) {
    return QStringLiteral("%1:%2").arg(ayeh.first).arg(ayeh.second);
}

// The ayeh at `place` in the book, counted from 0.
std::pair<int, int> AyehAt(int place) {
    int soureh = 1;
    while (place >= NumberOfAyehs(soureh))
        place -= NumberOfAyehs(soureh++);
    return {soureh, place + 1};
}

} // namespace

PrintedQuarters PrintedQuarters::Load(const QString& directory, const PrintedMushaf& print) {
    return FromJson(ReadPrintedMushafFile(directory, SectionsFile, QStringLiteral("hezb quarters")), print);
}

PrintedQuarters PrintedQuarters::FromJson(const QByteArray& json, const PrintedMushaf& print) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        Malformed(QStringLiteral("the file is no JSON list (%1)").arg(error.errorString()));
    const QJsonArray juzs = document.array();
    if (juzs.size() != JuzCount)
        Malformed(QStringLiteral("%1 juz instead of %2").arg(juzs.size()).arg(JuzCount));

    PrintedQuarters quarters;
    int previous = -1;
    for (int juz = 1; juz <= JuzCount; ++juz) {
        const QJsonArray list = juzs.at(juz - 1).toArray();
        if (list.size() != QuartersPerJuz)
            Malformed(QStringLiteral("juz %1 has %2 quarters instead of %3")
                          .arg(juz)
                          .arg(list.size())
                          .arg(QuartersPerJuz));
        for (int index = 1; index <= QuartersPerJuz; ++index) {
            const QString where = QStringLiteral("juz %1, quarter %2").arg(juz).arg(index);
            const QJsonObject verse = list.at(index - 1).toObject().value(QStringLiteral("verse")).toObject();
            const QJsonValue number = verse.value(QStringLiteral("number"));
            const QJsonValue text = verse.value(QStringLiteral("text"));
            if (!number.isDouble() || !text.isString())
                Malformed(where + QStringLiteral(" names no ayeh number and text"));
            const int place = number.toInt(-1);
            if (place < 0 || place >= TotalAyehCount)
                Malformed(QStringLiteral("%1 names ayeh number %2, which is no place among the book's %3 "
                                         "ayehs counted from 0")
                              .arg(where)
                              .arg(number.toDouble())
                              .arg(TotalAyehCount));
            if (place <= previous)
                Malformed(QStringLiteral("%1 begins at ayeh number %2, not after the quarter before it")
                              .arg(where)
                              .arg(place));
            previous = place;
            const std::pair<int, int> ayeh = AyehAt(place);
            if (text.toString() != print.AyehText(ayeh.first, ayeh.second))
                Malformed(
                    QStringLiteral("%1: its text is not that of ayeh %2 as printed").arg(where, Name(ayeh)));
            quarters.Starts.push_back(ayeh);
        }
    }
    if (print.PageOf(quarters.Starts.front().first, quarters.Starts.front().second) != FirstPageID)
        Malformed(QStringLiteral("the first quarter begins at %1, not on the first page")
                      .arg(Name(quarters.Starts.front())));

    // The print's marks and the quarters agree.
    const std::set<std::pair<int, int>> starts(quarters.Starts.begin() + 1, quarters.Starts.end());
    for (int soureh = 1; soureh <= SourehCount; ++soureh) {
        for (int ayeh = 1; ayeh <= NumberOfAyehs(soureh); ++ayeh) {
            const bool marked = print.AyehText(soureh, ayeh).startsWith(QuarterMark);
            const bool start = starts.count({soureh, ayeh}) > 0;
            if (marked && !start)
                Malformed(QStringLiteral("the print marks a quarter at %1, which the file does not list")
                              .arg(Name({soureh, ayeh})));
            if (start && !marked && ayeh != 1)
                Malformed(
                    QStringLiteral("a quarter begins at %1, which the print neither marks nor opens a soureh "
                                   "with")
                        .arg(Name({soureh, ayeh})));
        }
    }
    return quarters;
}

int PrintedQuarters::HezbOf(int soureh, int ayeh) const {
    // The first quarter opens the book; `next` is the first of the others to begin after the ayeh.
    const auto next = std::upper_bound(Starts.begin() + 1, Starts.end(), std::pair<int, int>(soureh, ayeh));
    return int(next - Starts.begin() - 1) / QuartersPerHezb + 1;
}
