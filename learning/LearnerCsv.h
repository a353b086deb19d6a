#pragma once
// The learner's grades and notes as CSV (RFC 4180, UTF-8), for export and import:
//
//   kind,soureh,ayeh,time,grade,note
//   grade,2,255,2026-12-09T10:25:00.000+03:30,3,
//   note,2,255,,,"a note, with ""quotes""
//   and a second line"
//
// A grade row has its time (ISO 8601 with the offset from UTC) and grade (1 to 4) and no
// note; a note row only its note. Records end with CRLF; a field holding a comma, a quote or
// a line break is quoted, its quotes doubled. Reading also takes LF line ends and a byte
// order mark, and skips empty lines.

#include "learning/LearnerData.h"

#include <QByteArray>
#include <vector>

struct LearnerCsv {
    std::vector<GradeRecord> Grades;
    std::vector<AyehNote> Notes;
};

QByteArray FormatLearnerCsv(const LearnerCsv& content);
// Throws LearningError naming the line of the first fault ("line 7: ...").
LearnerCsv ParseLearnerCsv(const QByteArray& bytes);
