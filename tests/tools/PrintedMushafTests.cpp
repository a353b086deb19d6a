// The printed lines build-text sets the pages from, and the hezb quarters it takes each page's
// hezb from: the print as it is, and files that break one of the facts the book is set from,
// each named by where it breaks.
#include "content/PageGeometry.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"
#include "tools/ImportSupport.h"
#include "tools/PrintedMushaf.h"
#include "tools/PrintedQuarters.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Kind = PrintedLine::Kind;

// A test on the installed @saqfish/asim package, skipped where it is not installed.
class InstalledPackage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InstalledPrint())
            GTEST_SKIP() << "the @saqfish/asim sources are not installed (scripts/setup.sh)";
    }

    // One of the package's files, a JSON list.
    static QJsonArray List(const char* file) {
        QFile input(QDir(InstalledPrintPackage()).filePath(QString::fromLatin1(file)));
        EXPECT_TRUE(input.open(QIODevice::ReadOnly)) << file;
        return QJsonDocument::fromJson(input.readAll()).array();
    }
};

class PrintedLines : public InstalledPackage {
protected:
    void SetUp() override {
        InstalledPackage::SetUp();
        if (!IsSkipped())
            for (const QJsonValue& value : List("data/hafs/raw.json"))
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

class PrintedHezbs : public InstalledPackage {
protected:
    void SetUp() override {
        InstalledPackage::SetUp();
        if (!IsSkipped())
            Juzs = List("data/hafs/sections.json");
    }

    // Quarter `index` (from 0) of juz `juz` (from 1) with `edit` applied to its verse.
    void EditQuarter(QJsonArray& juzs, int juz, int index, const std::function<void(QJsonObject&)>& edit) {
        QJsonArray list = juzs[juz - 1].toArray();
        QJsonObject quarter = list[index].toObject();
        QJsonObject verse = quarter[QStringLiteral("verse")].toObject();
        edit(verse);
        quarter[QStringLiteral("verse")] = verse;
        list[index] = quarter;
        juzs[juz - 1] = list;
    }

    QJsonArray Juzs;
};

TEST_F(PrintedHezbs, APageIsInTheHezbOfItsFirstAyeh) {
    const PrintedMushaf& print = *InstalledPrint();
    const PrintedQuarters quarters = PrintedQuarters::FromJson(QJsonDocument(Juzs).toJson(), print);
    // Hezb 6 begins at 3:15 and hezb 10 at 4:88, each on its page after the page's first
    // ayeh (pages 51 and 92); hezb 60 begins at 87:1, on page 591.
    const std::pair<int, int> cases[] = {{1, 1},  {50, 5},  {51, 5},   {52, 6},
                                         {92, 9}, {93, 10}, {592, 60}, {604, 60}};
    for (const auto& [page, hezb] : cases) {
        const PrintedPiece* first = nullptr;
        for (const PrintedLine& line : print.Page(page))
            if (!first && !line.Pieces.empty())
                first = &line.Pieces.front();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(quarters.HezbOf(first->Soureh, first->Ayeh), hezb) << "page " << page;
    }
}

TEST_F(PrintedHezbs, AQuarterThatBreaksTheirFactsIsNamed) {
    struct Case {
        const char* Name;
        std::function<void(QJsonArray&)> Damage;
        QString Message;
    };
    const Case cases[] = {
        {"a quarter missing",
         [](QJsonArray& juzs) {
             QJsonArray list = juzs[2].toArray();
             list.removeLast();
             juzs[2] = list;
         },
         QStringLiteral("juz 3 has 7 quarters instead of 8")},
        {"a number one ayeh off",
         [this](QJsonArray& juzs) {
             EditQuarter(juzs, 2, 2, [](QJsonObject& verse) {
                 verse[QStringLiteral("number")] = verse[QStringLiteral("number")].toInt() + 1;
             });
         },
         QStringLiteral("juz 2, quarter 3: its text is not that of ayeh 2:178 as printed")},
        {"quarters out of order",
         [](QJsonArray& juzs) {
             QJsonArray list = juzs[0].toArray();
             const QJsonValue fourth = list[3];
             list[3] = list[4];
             list[4] = fourth;
             juzs[0] = list;
         },
         QStringLiteral("juz 1, quarter 5 begins at ayeh number 66, not after the quarter before it")},
        {"a quarter the print does not mark",
         [this](QJsonArray& juzs) {
             EditQuarter(juzs, 1, 1, [](QJsonObject& verse) {
                 verse[QStringLiteral("number")] = 33;
                 verse[QStringLiteral("text")] = InstalledPrint()->AyehText(2, 27);
             });
         },
         QStringLiteral("the print marks a quarter at 2:26, which the file does not list")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QJsonArray juzs = Juzs;
        c.Damage(juzs);
        try {
            PrintedQuarters::FromJson(QJsonDocument(juzs).toJson(), *InstalledPrint());
            ADD_FAILURE() << "no error";
        } catch (const ToolError& error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(c.Message)) << error.what();
        }
    }
    EXPECT_NO_THROW(PrintedQuarters::FromJson(QJsonDocument(Juzs).toJson(), *InstalledPrint()));
}

} // namespace
