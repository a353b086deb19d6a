#include "bench/BenchLearner.h"

#include "content/MushafCounts.h"
#include "learning/LearnerCsv.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <cstdio>
#include <cstdlib>

BenchLearner& GradedLearner() {
    static BenchLearner learner;
    if (learner.Data)
        return learner;
    learner.Clock.Moment = QDateTime(QDate(2026, 3, 21), QTime(9, 0), QTimeZone(12600));
    LearnerCsv content;
    for (int soureh = 1; soureh <= SourehCount; ++soureh)
        for (int ayeh = 1; ayeh <= NumberOfAyehs(soureh); ++ayeh)
            content.Grades.push_back(
                {soureh, ayeh, learner.Clock.Moment.addDays(-(ayeh % 4)), Grade(1 + (soureh + ayeh) % 4)});
    const QString file = QDir(QFile::decodeName(qgetenv("HOME"))).filePath(QStringLiteral("plan.csv"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(FormatLearnerCsv(content)) < 0)
        std::exit(2);
    out.close();
    LearnerOpening opening = LearnerData::Open(LearnerDatabasePath(), learner.Clock);
    if (!opening.Data) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(opening.Message));
        std::exit(2);
    }
    learner.Data = std::move(opening.Data);
    learner.Data->ImportCsv(file);
    learner.Clock.Moment = learner.Clock.Moment.addDays(7);
    return learner;
}
