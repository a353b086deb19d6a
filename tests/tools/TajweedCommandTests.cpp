// golvar-content tajweed as a script sees it: its usage, its failures, and spans and counts
// that are the rule engine's for the very ayeh texts the content holds.
#include "tajweed/TajweedRules.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

namespace {

TEST(TajweedCommand, UsageErrorsExitWithTwoAndFailuresWithOne) {
    QTemporaryDir temp;
    struct Case {
        QStringList Args;
        int ExitCode;
        QString Message;
    };
    const Case cases[] = {
        {{"tajweed"}, 2, QStringLiteral("expected 1 arguments")},
        {{"tajweed", "--bogus", temp.path()}, 2, QStringLiteral("bogus")},
        {{"tajweed", temp.filePath(QStringLiteral("nowhere"))}, 1, QStringLiteral("does not exist")},
        {{"tajweed", "--json", temp.path()}, 1, QStringLiteral("quran.dat does not exist")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = RunContentTool(c.Args);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
        EXPECT_TRUE(run.Out.isEmpty());
    }
    const ToolRun help = RunContentTool({QStringLiteral("tajweed"), QStringLiteral("--help")});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.startsWith(QStringLiteral("Usage: golvar-content tajweed [--json] DIR")));
}

TEST(TajweedCommand, PrintsTheEngineSpansOfEveryAyehAndTheirCounts) {
    QString why;
    const QString folder = SharedContentFolder(&why);
    if (folder.isEmpty())
        GTEST_SKIP() << why.toStdString();
    std::map<std::pair<int, int>, QString> texts;
    for (const auto& row : TextRows(QDir(folder).filePath(QStringLiteral("quran.dat")),
                                    "SELECT SourehID, AyehID, Text FROM AyehText"))
        texts[{row[0].toInt(), row[1].toInt()}] = row[2];
    ASSERT_FALSE(texts.empty());

    const ToolRun json = RunContentTool({QStringLiteral("tajweed"), QStringLiteral("--json"), folder});
    ASSERT_EQ(json.ExitCode, 0) << json.Err.toStdString();
    const QJsonArray ayehs = QJsonDocument::fromJson(json.Out.toUtf8()).array();
    ASSERT_EQ(size_t(ayehs.size()), texts.size());
    std::array<int, TajweedRuleCount> counts{};
    for (const QJsonValue& value : ayehs) {
        const QJsonObject ayeh = value.toObject();
        const std::pair<int, int> key{ayeh[QStringLiteral("soureh")].toInt(),
                                      ayeh[QStringLiteral("ayeh")].toInt()};
        SCOPED_TRACE(std::to_string(key.first) + ":" + std::to_string(key.second));
        ASSERT_EQ(texts.count(key), 1u);
        std::vector<TajweedSpan> printed;
        for (const QJsonValue& span : ayeh[QStringLiteral("spans")].toArray()) {
            const auto rule = TajweedRuleByName(span[QStringLiteral("rule")].toString().toStdString());
            ASSERT_TRUE(rule.has_value());
            printed.push_back(
                {*rule, span[QStringLiteral("start")].toInt(), span[QStringLiteral("end")].toInt()});
            ++counts[size_t(*rule)];
        }
        EXPECT_EQ(printed, FindTajweedSpans(texts[key]));
    }

    // The plain listing ends with each rule's count, the same as the spans listed.
    const ToolRun plain = RunContentTool({QStringLiteral("tajweed"), folder});
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err.toStdString();
    for (const TajweedRule rule : AllTajweedRules) {
        const QString line = QString::fromStdString(std::string(TajweedRuleName(rule))) + QLatin1Char('\t') +
                             QString::number(counts[size_t(rule)]) + QLatin1Char('\n');
        EXPECT_TRUE(plain.Out.contains(QLatin1Char('\n') + line)) << line.toStdString();
    }
    EXPECT_EQ(plain.Out.count(QLatin1Char('\n')),
              std::accumulate(counts.begin(), counts.end(), 0) + 1 + TajweedRuleCount + 1);
}

} // namespace
