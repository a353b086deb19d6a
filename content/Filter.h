#pragma once
// The row filter of a ResultSet: comparisons of a column with an integer joined by and/or,
// with parentheses, compiled to a postfix program over column indexes.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace content_detail {

enum class Compare : std::uint8_t { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

struct FilterStep {
    enum Kind : std::uint8_t { Test, And, Or } Op;
    Compare Comparison = Compare::Equal;
    int Column = -1;
    std::int64_t Value = 0;
};

// The outcome of comparing a column of a row with an integer. Absent (a null, or a value
// with no number in it) makes every comparison false.
struct ColumnNumber {
    bool Present = false;
    bool IsReal = false;
    std::int64_t Integer = 0;
    double Real = 0;
};

class FilterProgram final {
public:
    // Parses `text`, resolving column names with `columnIndex` (which returns -1 for an
    // unknown name). Throws ContentError when malformed; the program is then empty. Storage
    // is reused, so compiling one filter after another does not allocate once warm.
    void Compile(std::string_view text, const std::function<int(std::string_view)>& columnIndex);
    bool Empty() const { return Steps.empty(); }
    // `number(column)` gives the row's value of a column.
    template <typename NumberOf> bool Passes(const NumberOf& number) const;

private:
    bool Holds(const FilterStep& step, const ColumnNumber& value) const;
    std::vector<FilterStep> Steps;
    mutable std::vector<std::uint8_t> Stack;
};

template <typename NumberOf> bool FilterProgram::Passes(const NumberOf& number) const {
    if (Steps.empty())
        return true;
    Stack.clear();
    for (const FilterStep& step : Steps) {
        switch (step.Op) {
        case FilterStep::Test:
            Stack.push_back(Holds(step, number(step.Column)) ? 1 : 0);
            break;
        case FilterStep::And:
        case FilterStep::Or: {
            const std::uint8_t right = Stack.back();
            Stack.pop_back();
            Stack.back() = step.Op == FilterStep::And ? (Stack.back() & right) : (Stack.back() | right);
            break;
        }
        }
    }
    return Stack.back() != 0;
}

} // namespace content_detail
