#include "learning/LearnerCsv.h"

#include "content/MushafCounts.h"

#include <QStringDecoder>
#include <QStringList>

namespace {

const QStringList Header = {QStringLiteral("kind"), QStringLiteral("soureh"), QStringLiteral("ayeh"),
                            QStringLiteral("time"), QStringLiteral("grade"),  QStringLiteral("note")};
const QString GradeKind = QStringLiteral("grade");
const QString NoteKind = QStringLiteral("note");

QString Quoted(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    QString text = field;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

void AddRecord(QString& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        out += Quoted(fields[i]);
    }
    out += QStringLiteral("\r\n");
}

[[noreturn]] void Fault(int line, const QString& why) {
    throw LearningError(QStringLiteral("line %1: %2").arg(line).arg(why));
}

struct Record {
    int Line = 0; // where the record begins
    QStringList Fields;
};

// Splits the text into records of fields; an empty line is no record.
std::vector<Record> SplitRecords(const QString& text) {
    std::vector<Record> records;
    Record record;
    QString field;
    int line = 1;
    record.Line = line;
    bool quoted = false;     // inside a quoted field
    bool afterQuote = false; // a quoted field has just closed
    bool fieldBegun = false; // the current record holds anything yet
    const auto endRecord = [&] {
        if (fieldBegun || !record.Fields.isEmpty()) {
            record.Fields.append(field);
            records.push_back(std::move(record));
        }
        record = Record();
        field.clear();
        afterQuote = false;
        fieldBegun = false;
    };
    int quoteLine = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // the CR of a CRLF
        if (c == u'\n') {
            endRecord();
            ++line;
            record.Line = line;
            continue;
        }
        if (c == u',') {
            record.Fields.append(field);
            field.clear();
            afterQuote = false;
            fieldBegun = true;
            continue;
        }
        if (afterQuote)
            Fault(line, QStringLiteral("text after the closing quote of a field"));
        if (c == u'"') {
            if (!field.isEmpty())
                Fault(line, QStringLiteral("a quote inside a field that is not quoted"));
            quoted = true;
            quoteLine = line;
        } else {
            field += c;
        }
        fieldBegun = true;
    }
    if (quoted)
        Fault(quoteLine, QStringLiteral("a quoted field is not closed"));
    endRecord();
    return records;
}

int Number(const Record& record, int index, const char* what) {
    bool ok = false;
    const int value = record.Fields[index].toInt(&ok);
    if (!ok)
        Fault(record.Line,
              QStringLiteral("%1 \"%2\" is not a number").arg(QLatin1String(what), record.Fields[index]));
    return value;
}

} // namespace

QByteArray FormatLearnerCsv(const LearnerCsv& content) {
    QString out;
    AddRecord(out, Header);
    for (const GradeRecord& grade : content.Grades)
        AddRecord(out,
                  {GradeKind, QString::number(grade.SourehID), QString::number(grade.AyehID),
                   grade.Given.toString(Qt::ISODateWithMs), QString::number(int(grade.Value)), QString()});
    for (const AyehNote& note : content.Notes)
        AddRecord(out, {NoteKind, QString::number(note.SourehID), QString::number(note.AyehID), QString(),
                        QString(), note.Text});
    return out.toUtf8();
}

LearnerCsv ParseLearnerCsv(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        const qsizetype bad = text.indexOf(QChar::ReplacementCharacter);
        Fault(int(text.left(bad < 0 ? text.size() : bad).count(u'\n')) + 1,
              QStringLiteral("the text is not UTF-8"));
    }
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    const std::vector<Record> records = SplitRecords(text);
    if (records.empty() || records.front().Fields != Header)
        Fault(records.empty() ? 1 : records.front().Line,
              QStringLiteral("the first line must be \"%1\"").arg(Header.join(u',')));

    LearnerCsv content;
    for (size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.Fields.size() != Header.size())
            Fault(record.Line,
                  QStringLiteral("%1 fields instead of %2").arg(record.Fields.size()).arg(Header.size()));
        const QString& kind = record.Fields[0];
        const int soureh = Number(record, 1, "soureh");
        const int ayeh = Number(record, 2, "ayeh");
        if (ayeh < 1 || ayeh > NumberOfAyehs(soureh))
            Fault(record.Line, QStringLiteral("there is no ayeh %1 of soureh %2").arg(ayeh).arg(soureh));
        if (kind == GradeKind) {
            if (!record.Fields[5].isEmpty())
                Fault(record.Line, QStringLiteral("a grade row has no note"));
            const QDateTime given = QDateTime::fromString(record.Fields[3], Qt::ISODateWithMs);
            if (!given.isValid() || given.timeSpec() == Qt::LocalTime)
                Fault(record.Line,
                      QStringLiteral("the time \"%1\" is not an ISO 8601 time with its offset from UTC")
                          .arg(record.Fields[3]));
            const std::optional<Grade> grade = GradeFromNumber(Number(record, 4, "grade"));
            if (!grade)
                Fault(record.Line, QStringLiteral("the grade must be 1 to 4"));
            content.Grades.push_back({soureh, ayeh, given, *grade});
        } else if (kind == NoteKind) {
            if (!record.Fields[3].isEmpty() || !record.Fields[4].isEmpty())
                Fault(record.Line, QStringLiteral("a note row has no time and no grade"));
            content.Notes.push_back({soureh, ayeh, record.Fields[5]});
        } else {
            Fault(record.Line, QStringLiteral("the kind \"%1\" is neither grade nor note").arg(kind));
        }
    }
    return content;
}
