#include "content/Filter.h"

#include "content/Database.h"
#include "content/TextRules.h"

#include <limits>
#include <string>

namespace content_detail {

namespace {

// A recursive-descent parser that emits postfix steps:
//   or-expr  := and-expr { "or" and-expr }
//   and-expr := primary { "and" primary }
//   primary  := "(" or-expr ")" | column operator integer
class Parser final {
public:
    Parser(std::string_view text, const std::function<int(std::string_view)>& columnIndex,
           std::vector<FilterStep>& out)
        : Text(text), ColumnIndex(columnIndex), Out(out) {}

    void Run() {
        SkipBlanks();
        if (At == Text.size())
            return; // an empty filter lets every row through
        OrExpression();
        SkipBlanks();
        if (At != Text.size())
            Fail("unexpected text");
    }

private:
    [[noreturn]] void Fail(const char* why) const {
        throw ContentError("Malformed filter \"" + std::string(Text) + "\": " + why + " at character " +
                           std::to_string(At + 1) + ".");
    }

    void SkipBlanks() {
        while (At < Text.size() && IsBlank(Text[At]))
            ++At;
    }

    static bool IsNameChar(char c) {
        return IsDigit(c) || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z') || c == '_';
    }

    // Takes the keyword when it stands whole at the current place.
    bool TakeKeyword(std::string_view word) {
        SkipBlanks();
        if (!StartsWithNoCase(Text, At, word))
            return false;
        if (At + word.size() < Text.size() && IsNameChar(Text[At + word.size()]))
            return false;
        At += word.size();
        return true;
    }

    void OrExpression() {
        AndExpression();
        while (TakeKeyword("or")) {
            AndExpression();
            Out.push_back({FilterStep::Or});
        }
    }

    void AndExpression() {
        Primary();
        while (TakeKeyword("and")) {
            Primary();
            Out.push_back({FilterStep::And});
        }
    }

    void Primary() {
        SkipBlanks();
        if (At < Text.size() && Text[At] == '(') {
            if (++Depth > MaxDepth)
                Fail("too deeply nested");
            ++At;
            OrExpression();
            SkipBlanks();
            if (At == Text.size() || Text[At] != ')')
                Fail("missing ')'");
            ++At;
            --Depth;
            return;
        }
        Comparison();
    }

    void Comparison() {
        SkipBlanks();
        const size_t nameStart = At;
        while (At < Text.size() && IsNameChar(Text[At]))
            ++At;
        if (At == nameStart || IsDigit(Text[nameStart]))
            Fail("expected a column name");
        const std::string_view name = Text.substr(nameStart, At - nameStart);
        const int column = ColumnIndex(name);
        if (column < 0)
            throw ContentError("Filter \"" + std::string(Text) + "\" names an unknown column \"" +
                               std::string(name) + "\".");
        FilterStep step{FilterStep::Test};
        step.Column = column;
        step.Comparison = Operator();
        step.Value = Integer();
        Out.push_back(step);
    }

    Compare Operator() {
        SkipBlanks();
        const auto next = [&](size_t offset) { return At + offset < Text.size() ? Text[At + offset] : '\0'; };
        const char first = next(0);
        const char second = next(1);
        if (first == '=') {
            At += 1;
            return Compare::Equal;
        }
        if (first == '<' && second == '>') {
            At += 2;
            return Compare::NotEqual;
        }
        if (first == '<' && second == '=') {
            At += 2;
            return Compare::LessOrEqual;
        }
        if (first == '>' && second == '=') {
            At += 2;
            return Compare::GreaterOrEqual;
        }
        if (first == '<') {
            At += 1;
            return Compare::Less;
        }
        if (first == '>') {
            At += 1;
            return Compare::Greater;
        }
        Fail("expected one of = <> < <= > >=");
    }

    std::int64_t Integer() {
        SkipBlanks();
        bool negative = false;
        if (At < Text.size() && (Text[At] == '-' || Text[At] == '+')) {
            negative = Text[At] == '-';
            ++At;
        }
        const size_t digitsStart = At;
        std::uint64_t magnitude = 0;
        constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
        while (At < Text.size() && IsDigit(Text[At])) {
            magnitude = magnitude * 10 + std::uint64_t(Text[At] - '0');
            if (magnitude > limit)
                Fail("number out of range");
            ++At;
        }
        if (At == digitsStart)
            Fail("expected an integer");
        if (At < Text.size() && IsNameChar(Text[At]))
            Fail("expected an integer");
        if (!negative && magnitude == limit)
            Fail("number out of range");
        return negative ? std::int64_t(0 - magnitude) : std::int64_t(magnitude);
    }

    static constexpr int MaxDepth = 64;
    std::string_view Text;
    const std::function<int(std::string_view)>& ColumnIndex;
    std::vector<FilterStep>& Out;
    size_t At = 0;
    int Depth = 0;
};

template <typename T> bool Apply(Compare comparison, T left, T right) {
    switch (comparison) {
    case Compare::Equal:
        return left == right;
    case Compare::NotEqual:
        return left != right;
    case Compare::Less:
        return left < right;
    case Compare::LessOrEqual:
        return left <= right;
    case Compare::Greater:
        return left > right;
    case Compare::GreaterOrEqual:
        return left >= right;
    }
    return false;
}

} // namespace

void FilterProgram::Compile(std::string_view text, const std::function<int(std::string_view)>& columnIndex) {
    Steps.clear();
    try {
        Parser(text, columnIndex, Steps).Run();
    } catch (...) {
        Steps.clear();
        throw;
    }
}

bool FilterProgram::Holds(const FilterStep& step, const ColumnNumber& value) const {
    if (!value.Present)
        return false;
    if (value.IsReal)
        return Apply(step.Comparison, value.Real, double(step.Value));
    return Apply(step.Comparison, value.Integer, step.Value);
}

} // namespace content_detail
