#include "tools/ImportSupport.h"
#include "tools/PageList.h"

#include <gtest/gtest.h>

namespace {

TEST(PageList, ReadsNumbersAndRangesSortedOnce) {
    const std::pair<const char*, QList<int>> cases[] = {
        {"1,2,50,604", {1, 2, 50, 604}},
        {"604,1", {1, 604}},
        {"3-5,1", {1, 3, 4, 5}},
        {"2,2,1-2", {1, 2}},
        {" 7 , 8 ", {7, 8}},
        {"600-604", {600, 601, 602, 603, 604}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParsePageList(QString::fromUtf8(text), 604), expected);
    }
}

TEST(PageList, RefusesWhatIsNoListOfPages) {
    for (const char* text : {"", "0", "605", "a", "5-3", "1,,2", "1-", "-4", "1.5", "2-700"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(ParsePageList(QString::fromUtf8(text), 604), ToolError);
    }
}

} // namespace
