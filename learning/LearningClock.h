#pragma once
// The time grades are given at. The reader uses the system's clock; tests move one of their
// own, so that "the next day" is a clock moved by a day.

#include <QDate>
#include <QDateTime>

class LearningClock {
public:
    virtual ~LearningClock() = default;
    // The present moment with its offset from UTC, as the learner's clock shows it.
    virtual QDateTime Now() const = 0;
};

class SystemLearningClock final : public LearningClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// The learner's day of a moment: the Julian day of its date where it was taken, so that a
// day begins at the learner's midnight.
inline int LearningDay(const QDateTime& moment) {
    return int(moment.date().toJulianDay());
}
