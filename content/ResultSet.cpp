// Result sets: every row fetched at open, read by column name, filtered and searched in
// memory.
#include "content/Database.h"
#include "content/Filter.h"
#include "content/TextRules.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sqlite3.h>

using content_detail::ColumnNumber;
using content_detail::EqualsNoCase;

namespace {

struct Value {
    enum Kind : std::uint8_t { Null, Integer, Real, Text, Blob };
    Kind Type = Null;
    std::int64_t Int = 0;
    double Float = 0;
    QByteArray Bytes; // text as UTF-8, or the blob
};

const Value NullValue;

// The engine's text-to-integer rule: leading blanks, a sign, then as many digits as there
// are; no digits give 0, and a value beyond 64 bits saturates.
std::int64_t LeadingInteger(const QByteArray& text, bool* whole = nullptr) {
    const char* p = text.constData();
    const char* end = p + text.size();
    while (p < end && content_detail::IsBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    const char* digits = p;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
    while (p < end && content_detail::IsDigit(*p)) {
        if (!overflow) {
            magnitude = magnitude * 10 + std::uint64_t(*p - '0');
            overflow = magnitude > limit;
        }
        ++p;
    }
    if (whole) {
        const char* rest = p;
        while (rest < end && content_detail::IsBlank(*rest))
            ++rest;
        *whole = p != digits && rest == end;
    }
    if (overflow || (!negative && magnitude == limit))
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    return negative ? std::int64_t(0 - magnitude) : std::int64_t(magnitude);
}

// The engine's real-to-integer rule: truncation toward zero, saturating at the ends.
std::int64_t TruncatedReal(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= double(std::numeric_limits<std::int64_t>::min()))
        return std::numeric_limits<std::int64_t>::min();
    if (value >= double(std::numeric_limits<std::int64_t>::max()))
        return std::numeric_limits<std::int64_t>::max();
    return std::int64_t(value);
}

std::int64_t ToInt64(const Value& value) {
    switch (value.Type) {
    case Value::Integer:
        return value.Int;
    case Value::Real:
        return TruncatedReal(value.Float);
    default:
        return LeadingInteger(value.Bytes);
    }
}

// The engine's rendering of a real as text ("%!.15g": always with a point or an exponent).
QString RealText(double value) {
    QString text = QString::number(value, 'g', 15);
    bool plain = true;
    for (const QChar c : text) {
        if (!c.isDigit() && c != u'-')
            plain = false;
    }
    if (plain)
        text += QStringLiteral(".0");
    return text;
}

} // namespace

struct ResultSet::Impl {
    std::vector<std::string> Names;
    int Columns = 0;
    int Rows = 0;
    std::vector<Value> Cells; // row after row

    // Current position in the view: every row, or only the passing ones while filtered.
    int Position = 0;
    bool FilterOn = false;
    std::string FilterText;
    content_detail::FilterProgram Filter;
    content_detail::FilterProgram Scratch;
    std::vector<int> Passing;

    int ViewSize() const { return FilterOn ? int(Passing.size()) : Rows; }
    int RowOf(int position) const { return FilterOn ? Passing[size_t(position)] : position; }

    const Value& Cell(int row, int column) const {
        return Cells[size_t(row) * size_t(Columns) + size_t(column)];
    }

    const Value& Current(int column) const {
        if (Position >= ViewSize())
            return NullValue;
        return Cell(RowOf(Position), column);
    }

    int ColumnIndex(std::string_view name) const {
        for (int i = 0; i < Columns; ++i) {
            if (EqualsNoCase(Names[size_t(i)], name))
                return i;
        }
        return -1;
    }

    ColumnNumber NumberAt(int row, int column) const {
        const Value& value = Cell(row, column);
        ColumnNumber number;
        switch (value.Type) {
        case Value::Null:
        case Value::Blob:
            break;
        case Value::Integer:
            number.Present = true;
            number.Integer = value.Int;
            break;
        case Value::Real:
            number.Present = true;
            number.IsReal = true;
            number.Real = value.Float;
            break;
        case Value::Text: {
            // Text compares as a number only when it is one.
            bool whole = false;
            number.Integer = LeadingInteger(value.Bytes, &whole);
            if (whole) {
                number.Present = true;
            } else {
                const std::string text = value.Bytes.toStdString();
                char* end = nullptr;
                const double real = std::strtod(text.c_str(), &end);
                while (end && *end && content_detail::IsBlank(*end))
                    ++end;
                if (end != text.c_str() && end && *end == '\0') {
                    number.Present = true;
                    number.IsReal = true;
                    number.Real = real;
                }
            }
            break;
        }
        }
        return number;
    }

    void ApplyFilter() {
        Passing.clear();
        for (int row = 0; row < Rows; ++row) {
            if (Filter.Passes([&](int column) { return NumberAt(row, column); }))
                Passing.push_back(row);
        }
        Position = 0;
    }

    [[noreturn]] void ConversionError(int column, const char* form) const {
        throw ContentError("Cannot convert the null value of column \"" + Names[size_t(column)] + "\" to " +
                           form + ".");
    }
};

ResultSet::ResultSet(const Connection& connection, std::string_view statement) : D(std::make_unique<Impl>()) {
    SqliteStatement prepared(connection.Handle(), TranslateStatement(statement));
    sqlite3_stmt* stmt = prepared.Get();
    D->Columns = sqlite3_column_count(stmt);
    for (int i = 0; i < D->Columns; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        D->Names.emplace_back(name ? name : "");
    }
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw ContentError(sqlite3_errmsg(connection.Handle()));
        for (int i = 0; i < D->Columns; ++i) {
            Value& value = D->Cells.emplace_back();
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER:
                value.Type = Value::Integer;
                value.Int = sqlite3_column_int64(stmt, i);
                break;
            case SQLITE_FLOAT:
                value.Type = Value::Real;
                value.Float = sqlite3_column_double(stmt, i);
                break;
            case SQLITE_TEXT: {
                value.Type = Value::Text;
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                value.Bytes = QByteArray(text ? text : "", sqlite3_column_bytes(stmt, i));
                break;
            }
            case SQLITE_BLOB: {
                value.Type = Value::Blob;
                const void* blob = sqlite3_column_blob(stmt, i);
                const int size = sqlite3_column_bytes(stmt, i);
                value.Bytes = size > 0 ? QByteArray(static_cast<const char*>(blob), size) : QByteArray("");
                break;
            }
            default:
                break;
            }
        }
        ++D->Rows;
    }
}

ResultSet::~ResultSet() = default;

int ResultSet::RecordCount() const {
    return D->ViewSize();
}

void ResultSet::First() {
    D->Position = 0;
}

void ResultSet::Next() {
    if (D->Position < D->ViewSize())
        ++D->Position;
}

bool ResultSet::Eof() const {
    return D->Position >= D->ViewSize();
}

Field ResultSet::FieldByName(std::string_view name) const {
    const int column = D->ColumnIndex(name);
    if (column < 0)
        throw ContentError("The result has no column \"" + std::string(name) + "\".");
    return Field(*this, column);
}

void ResultSet::SetFilter(std::string_view expression) {
    if (expression == D->FilterText && !D->Filter.Empty())
        return;
    // Compiled aside, so that a malformed text leaves the filter as it was; the two programs
    // trade storage instead of allocating anew.
    D->Scratch.Compile(expression, [this](std::string_view name) { return D->ColumnIndex(name); });
    std::swap(D->Filter, D->Scratch);
    D->FilterText.assign(expression);
    if (D->FilterOn)
        D->ApplyFilter();
}

void ResultSet::SetFiltered(bool on) {
    if (on == D->FilterOn) {
        if (on)
            D->Position = 0;
        return;
    }
    // Switching either way starts again at the first row of the new view.
    D->FilterOn = on;
    if (on)
        D->ApplyFilter();
    else
        D->Position = 0;
}

bool ResultSet::Filtered() const {
    return D->FilterOn;
}

bool ResultSet::Locate(std::string_view column, int value) {
    const int index = D->ColumnIndex(column);
    if (index < 0)
        throw ContentError("The result has no column \"" + std::string(column) + "\".");
    for (int position = 0; position < D->ViewSize(); ++position) {
        const ColumnNumber number = D->NumberAt(D->RowOf(position), index);
        const bool equal =
            number.Present && (number.IsReal ? number.Real == double(value) : number.Integer == value);
        if (equal) {
            D->Position = position;
            return true;
        }
    }
    return false;
}

int Field::AsInteger() const {
    const Value& value = Owner->D->Current(Column);
    if (value.Type == Value::Null)
        Owner->D->ConversionError(Column, "an integer");
    const std::int64_t number = ToInt64(value);
    if (number < INT_MIN || number > INT_MAX)
        throw ContentError("The value of column \"" + Owner->D->Names[size_t(Column)] +
                           "\" does not fit a 32-bit integer.");
    return int(number);
}

QString Field::AsString() const {
    const Value& value = Owner->D->Current(Column);
    switch (value.Type) {
    case Value::Null:
        Owner->D->ConversionError(Column, "text");
    case Value::Integer:
        return QString::number(value.Int);
    case Value::Real:
        return RealText(value.Float);
    case Value::Text:
    case Value::Blob:
        break;
    }
    return QString::fromUtf8(value.Bytes);
}

bool Field::AsBoolean() const {
    const Value& value = Owner->D->Current(Column);
    switch (value.Type) {
    case Value::Null:
        Owner->D->ConversionError(Column, "a truth value");
    case Value::Real:
        return value.Float != 0.0;
    default:
        return ToInt64(value) != 0;
    }
}

bool Field::IsNull() const {
    return Owner->D->Current(Column).Type == Value::Null;
}

QByteArray Field::AsBytes() const {
    const Value& value = Owner->D->Current(Column);
    switch (value.Type) {
    case Value::Null:
        Owner->D->ConversionError(Column, "bytes");
    case Value::Integer:
        return QByteArray::number(qlonglong(value.Int));
    case Value::Real:
        return RealText(value.Float).toUtf8();
    case Value::Text:
    case Value::Blob:
        break;
    }
    return value.Bytes;
}
