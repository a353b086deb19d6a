// The printed lines build-text sets the pages from: the print as it is, and files that break
// one of the facts the book is set from, each named by page and line.
#include "content/PageGeometry.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"
#include "tools/ImportSupport.h"
#include "tools/PrintedMushaf.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Kind = PrintedLine::Kind;

class PrintedLines : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InstalledPrint())
            GTEST_SKIP() << "the @saqfish/asim sources are not installed (scripts/setup.sh)";
        QFile file(QDir(InstalledPrintPackage()).filePath(QStringLiteral("data/hafs/raw.json")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array())
            Lines.push_back(value.toString());
    }

    // Where line `line` (from 1) of page `page` stands in the file.
    static size_t Index(int page, int line) {
        return page <= 2 ? size_t(8 * (page - 1) + line - 1) : size_t(16 + 15 * (page - 3) + line - 1);
    }

    std::vector<QString> Lines;
};

// The letters of a text, its marks left out.
QString Letters(const QString& text) {
    QString letters;
    for (const QChar c : text) {
        if (c.category() == QChar::Letter_Other || c == QLatin1Char(' '))
            letters += c;
    }
    return letters;
}

TEST_F(PrintedLines, HoldTheMushafPageByPage) {
    const PrintedMushaf& print = *InstalledPrint();
    struct Case {
        int Page;
        std::vector<Kind> Kinds;
    };
    const std::vector<Kind> fullText(LinesPerPage, Kind::Text);
    auto withTitles = [&](std::initializer_list<std::pair<int, Kind>> lines) {
        std::vector<Kind> kinds = fullText;
        for (const auto& [index, kind] : lines)
            kinds[size_t(index)] = kind;
        return kinds;
    };
    const Case cases[] = {
        {1,
         {Kind::Title, Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Text}},
        {2,
         {Kind::Title, Kind::Bismillah, Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Text,
          Kind::Text}},
        {3, fullText},
        {50, withTitles({{0, Kind::Title}, {1, Kind::Bismillah}})},
        {187, withTitles({{0, Kind::Title}})},
        {604, withTitles({{0, Kind::Title},
                          {1, Kind::Bismillah},
                          {4, Kind::Title},
                          {5, Kind::Bismillah},
                          {9, Kind::Title},
                          {10, Kind::Bismillah}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Page);
        std::vector<Kind> kinds;
        for (const PrintedLine& line : print.Page(c.Page))
            kinds.push_back(line.Type);
        EXPECT_EQ(kinds, c.Kinds);
    }

    // Page 3's second line ends 2:6 and begins 2:7, which runs on to the third.
    const std::vector<PrintedPiece>& pieces = print.Page(3).at(1).Pieces;
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_TRUE(pieces[0].Soureh == 2 && pieces[0].Ayeh == 6 && pieces[0].EndsAyeh);
    EXPECT_TRUE(pieces[1].Soureh == 2 && pieces[1].Ayeh == 7 && !pieces[1].EndsAyeh);
    // An ayeh's text is its words across the line break, without its number.
    EXPECT_EQ(Letters(print.AyehText(2, 7)),
              QStringLiteral("ختم ٱلله على قلوبهم وعلى سمعهم وعلى أبصرهم غشوة ولهم عذاب عظيم"));

    const std::tuple<int, int, int> pages[] = {{1, 7, 1},    {2, 255, 42}, {3, 1, 50},
                                               {5, 77, 120}, {5, 78, 121}, {114, 6, 604}};
    for (const auto& [soureh, ayeh, page] : pages)
        EXPECT_EQ(print.PageOf(soureh, ayeh), page) << soureh << ":" << ayeh;
}

TEST_F(PrintedLines, ALineThatBreaksTheirFactsIsNamed) {
    const QString nbsp(QChar(0x00A0));
    struct Case {
        const char* Name;
        std::function<void(std::vector<QString>&)> Damage;
        QString Message;
    };
    const Case cases[] = {
        {"a line missing", [](std::vector<QString>& lines) { lines.pop_back(); },
         QStringLiteral("9045 lines instead of 9046")},
        {"an empty line", [](std::vector<QString>& lines) { lines[Index(8, 10)] = QStringLiteral(" "); },
         QStringLiteral("page 8, line 10 is empty")},
        {"an ayeh numbered out of turn",
         [](std::vector<QString>& lines) { lines[Index(2, 8)].replace(QChar(0x0665), QChar(0x0666)); },
         QStringLiteral("page 2, line 8: the number 6 ends an ayeh where ayeh 2:5 is due")},
        {"a number without its no-break space",
         [&](std::vector<QString>& lines) { lines[Index(2, 8)].replace(nbsp, QStringLiteral(" ")); },
         QStringLiteral("page 2, line 8: page 2 does not end at the end of an ayeh")},
        {"a title without its first word",
         [](std::vector<QString>& lines) {
             lines[Index(50, 1)] = lines[Index(50, 1)].section(QLatin1Char(' '), 1);
         },
         QStringLiteral("page 50, line 1: text after the last ayeh of soureh 2")},
        {"a Bismillah with words of the ayeh",
         [](std::vector<QString>& lines) {
             lines[Index(50, 2)] += QStringLiteral(" ") + lines[Index(50, 3)];
         },
         QStringLiteral("page 50, line 2: the title of soureh 3 is not followed by the Bismillah alone")},
        {"a title before its soureh's last ayeh",
         [](std::vector<QString>& lines) { std::swap(lines[Index(604, 4)], lines[Index(604, 5)]); },
         QStringLiteral("page 604, line 4: a soureh title comes before soureh 112 ends (its ayeh 4 is due)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<QString> lines = Lines;
        c.Damage(lines);
        try {
            PrintedMushaf::FromLines(lines);
            ADD_FAILURE() << "no error";
        } catch (const ToolError& error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(c.Message)) << error.what();
        }
    }
    EXPECT_NO_THROW(PrintedMushaf::FromLines(Lines));
}

TEST(PrintedLinesFile, AMissingOrMalformedFileIsNamed) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("data/hafs")));
    const QString path = folder.filePath(QStringLiteral("data/hafs/raw.json"));
    const std::pair<QByteArray, const char*> cases[] = {
        {QByteArray(), "the printed lines are missing"},
        {"{\"lines\": []}", "is no JSON list"},
        {"[\"a\", 1]", "entry 2 is no text"},
    };
    for (const auto& [content, message] : cases) {
        SCOPED_TRACE(message);
        QFile::remove(path);
        if (!content.isEmpty())
            WriteFileBytes(path, content);
        try {
            PrintedMushaf::Load(folder.path());
            ADD_FAILURE() << "no error";
        } catch (const ToolError& error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QString::fromUtf8(message))) << error.what();
        }
    }
}

} // namespace
