#include "tools/QuranSources.h"

#include "content/MushafCounts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString PackageFiles[] = {QStringLiteral("utils/quran_text.js"),
                                QStringLiteral("utils/translations/fa_husseinDari.js"),
                                QStringLiteral("utils/page_data.js"), QStringLiteral("utils/surah_data.js"),
                                QStringLiteral("utils/juz_data.js")};

// Imports the package's modules and prints them as one JSON object; the folder comes as the
// last argument.
constexpr const char* DumpScript = R"js(
import path from 'node:path';
import { pathToFileURL } from 'node:url';
const dir = process.argv[process.argv.length - 1];
const load = async (file) => (await import(pathToFileURL(path.resolve(dir, file)).href)).default;
const out = {
  text: await load('utils/quran_text.js'),
  farsi: await load('utils/translations/fa_husseinDari.js'),
  pages: await load('utils/page_data.js'),
  surahs: await load('utils/surah_data.js'),
  juz: await load('utils/juz_data.js'),
};
process.stdout.write(JSON.stringify(out));
)js";

[[noreturn]] void Malformed(const QString& what) {
    throw ToolError(QStringLiteral("the quran-db sources are inconsistent: %1").arg(what));
}

QJsonObject RunNode(const QString& directory) {
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        throw ToolError(
            QStringLiteral("node is not installed; it reads the quran-db sources (run make setup)"));
    QProcess process;
    process.setProgram(node);
    process.setArguments({QStringLiteral("--input-type=module"), QStringLiteral("-e"),
                          QString::fromUtf8(DumpScript), QStringLiteral("--"), directory});
    process.start();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        const QString why =
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed().section(QLatin1Char('\n'), 0, 2);
        throw ToolError(
            QStringLiteral("node could not read the quran-db sources in %1: %2")
                .arg(QDir::toNativeSeparators(directory), why.isEmpty() ? process.errorString() : why));
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(process.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        Malformed(QStringLiteral("node's output is no JSON object (%1)").arg(error.errorString()));
    return document.object();
}

int IntegerField(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble())
        Malformed(QStringLiteral("an entry lacks the number '%1'").arg(QLatin1String(key)));
    return value.toInt();
}

QString TextField(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        Malformed(QStringLiteral("an entry lacks the text '%1'").arg(QLatin1String(key)));
    return value.toString();
}

} // namespace

QuranSources QuranSources::Load(const QString& directory) {
    const QString folder = QDir(directory).absolutePath();
    for (const QString& file : PackageFiles) {
        if (!QFileInfo::exists(QDir(folder).filePath(file)))
            throw ToolError(QStringLiteral("the quran-db sources are missing: no %1 (run make setup, or give "
                                           "the unpacked package with --sources DIR)")
                                .arg(QDir::toNativeSeparators(QDir(folder).filePath(file))));
    }
    const QJsonObject root = RunNode(folder);
    QuranSources sources;

    const QJsonArray surahs = root.value(QStringLiteral("surahs")).toArray();
    if (surahs.size() != SourehCount)
        Malformed(QStringLiteral("%1 sourehs instead of %2").arg(surahs.size()).arg(SourehCount));
    for (qsizetype i = 0; i < surahs.size(); ++i) {
        const QJsonObject surah = surahs.at(i).toObject();
        SourceSoureh soureh;
        soureh.Id = IntegerField(surah, "id");
        soureh.ArabicName = TextField(surah, "arabic");
        soureh.NumberOfAyeh = IntegerField(surah, "aya");
        const QString place = TextField(surah, "place");
        if (place != QLatin1String("Makkah") && place != QLatin1String("Madinah"))
            Malformed(QStringLiteral("soureh %1 has the place of revelation '%2'").arg(soureh.Id).arg(place));
        soureh.Maki = place == QLatin1String("Makkah");
        if (soureh.Id != int(i) + 1 || soureh.NumberOfAyeh != NumberOfAyehs(soureh.Id))
            Malformed(QStringLiteral("soureh entry %1 is numbered %2 with %3 ayehs")
                          .arg(i + 1)
                          .arg(soureh.Id)
                          .arg(soureh.NumberOfAyeh));
        sources.Sourehs.push_back(soureh);
        sources.Ayehs.emplace_back(size_t(soureh.NumberOfAyeh));
        sources.AyehPages.emplace_back(size_t(soureh.NumberOfAyeh), 0);
    }

    // Text and translation: every ayeh exactly once.
    const auto fill = [&](const char* key, QString SourceAyeh::*member, const QString& what) {
        const QJsonArray entries = root.value(QLatin1String(key)).toArray();
        if (entries.size() != TotalAyehCount)
            Malformed(QStringLiteral("%1 has %2 ayehs instead of %3")
                          .arg(what)
                          .arg(entries.size())
                          .arg(TotalAyehCount));
        for (const auto& value : entries) {
            const QJsonObject entry = value.toObject();
            const int soureh = IntegerField(entry, "surah_number");
            const int ayeh = IntegerField(entry, "verse_number");
            if (soureh < 1 || soureh > SourehCount || ayeh < 1 || ayeh > sources.Soureh(soureh).NumberOfAyeh)
                Malformed(QStringLiteral("%1 names ayeh %2:%3, which does not exist")
                              .arg(what)
                              .arg(soureh)
                              .arg(ayeh));
            SourceAyeh& target = sources.Ayehs[size_t(soureh - 1)][size_t(ayeh - 1)];
            if (!(target.*member).isEmpty())
                Malformed(QStringLiteral("%1 gives ayeh %2:%3 twice").arg(what).arg(soureh).arg(ayeh));
            target.Soureh = soureh;
            target.Ayeh = ayeh;
            target.*member = TextField(entry, "content").trimmed();
            if ((target.*member).isEmpty())
                Malformed(QStringLiteral("%1 gives ayeh %2:%3 no text").arg(what).arg(soureh).arg(ayeh));
        }
    };
    fill("text", &SourceAyeh::Text, QStringLiteral("the Arabic text"));
    fill("farsi", &SourceAyeh::Translation, QStringLiteral("the Persian translation"));

    // The page division: consecutive ranges that cover the book in order.
    const QJsonArray pages = root.value(QStringLiteral("pages")).toArray();
    if (pages.size() != PageCount)
        Malformed(QStringLiteral("%1 pages instead of %2").arg(pages.size()).arg(PageCount));
    int nextSoureh = 1;
    int nextAyeh = 1;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        std::vector<PageRange> ranges;
        for (const auto& value : pages.at(p).toArray()) {
            const QJsonObject object = value.toObject();
            const PageRange range{IntegerField(object, "surah"), IntegerField(object, "start"),
                                  IntegerField(object, "end")};
            if (range.Soureh != nextSoureh || range.FirstAyeh != nextAyeh ||
                range.LastAyeh < range.FirstAyeh ||
                range.LastAyeh > sources.Soureh(range.Soureh).NumberOfAyeh)
                Malformed(QStringLiteral("page %1 holds %2:%3-%4 where %5:%6 should come next")
                              .arg(p + 1)
                              .arg(range.Soureh)
                              .arg(range.FirstAyeh)
                              .arg(range.LastAyeh)
                              .arg(nextSoureh)
                              .arg(nextAyeh));
            for (int ayeh = range.FirstAyeh; ayeh <= range.LastAyeh; ++ayeh)
                sources.AyehPages[size_t(range.Soureh - 1)][size_t(ayeh - 1)] = int(p) + 1;
            nextAyeh = range.LastAyeh + 1;
            if (nextAyeh > sources.Soureh(range.Soureh).NumberOfAyeh) {
                ++nextSoureh;
                nextAyeh = 1;
            }
            ranges.push_back(range);
        }
        if (ranges.empty())
            Malformed(QStringLiteral("page %1 holds no ayeh").arg(p + 1));
        sources.Pages.push_back(std::move(ranges));
    }
    if (nextSoureh != SourehCount + 1)
        Malformed(QStringLiteral("the pages end before soureh %1 ayeh %2").arg(nextSoureh).arg(nextAyeh));

    for (const auto& value : root.value(QStringLiteral("juz")).toArray()) {
        const QJsonObject juz = value.toObject();
        const int id = IntegerField(juz, "id");
        const QJsonObject verses = juz.value(QStringLiteral("verses")).toObject();
        for (auto it = verses.begin(); it != verses.end(); ++it) {
            const QJsonArray bounds = it.value().toArray();
            sources.Juz.push_back({id, it.key().toInt(), bounds.at(0).toInt(), bounds.at(1).toInt()});
        }
    }
    for (int soureh = 1; soureh <= SourehCount; ++soureh) {
        for (int ayeh = 1; ayeh <= sources.Soureh(soureh).NumberOfAyeh; ++ayeh) {
            if (sources.JuzOf(soureh, ayeh) == 0)
                Malformed(QStringLiteral("no juz holds ayeh %1:%2").arg(soureh).arg(ayeh));
        }
    }
    return sources;
}

void QuranSources::AdoptPrint(const PrintedMushaf& print) {
    for (int page = 1; page <= PageCount; ++page) {
        std::vector<PageRange> ranges;
        for (const PrintedLine& line : print.Page(page)) {
            for (const PrintedPiece& piece : line.Pieces) {
                if (!ranges.empty() && ranges.back().Soureh == piece.Soureh &&
                    ranges.back().LastAyeh >= piece.Ayeh - 1)
                    ranges.back().LastAyeh = piece.Ayeh;
                else
                    ranges.push_back({piece.Soureh, piece.Ayeh, piece.Ayeh});
            }
        }
        Pages[size_t(page - 1)] = std::move(ranges);
    }
    for (int soureh = 1; soureh <= SourehCount; ++soureh) {
        for (int ayeh = 1; ayeh <= Soureh(soureh).NumberOfAyeh; ++ayeh) {
            AyehPages[size_t(soureh - 1)][size_t(ayeh - 1)] = print.PageOf(soureh, ayeh);
            Ayehs[size_t(soureh - 1)][size_t(ayeh - 1)].Text = print.AyehText(soureh, ayeh);
        }
    }
}

int QuranSources::PageOf(int soureh, int ayeh) const {
    return AyehPages.at(size_t(soureh - 1)).at(size_t(ayeh - 1));
}

int QuranSources::JuzOf(int soureh, int ayeh) const {
    int best = 0;
    for (const JuzRange& range : Juz) {
        if (range.Soureh == soureh && range.FirstAyeh <= ayeh && ayeh <= range.LastAyeh &&
            (best == 0 || range.Juz < best))
            best = range.Juz;
    }
    return best;
}
