#include "learning/Schedule.h"

#include <algorithm>

namespace {

int Quality(Grade grade) {
    switch (grade) {
    case Grade::Forgot:
        return 1;
    case Grade::Hard:
        return 3;
    case Grade::Good:
        return 4;
    case Grade::Easy:
        return 5;
    }
    return 0;
}

} // namespace

std::optional<Grade> GradeFromNumber(int number) {
    if (number < int(Grade::Forgot) || number > int(Grade::Easy))
        return std::nullopt;
    return Grade(number);
}

ReviewState Schedule(const ReviewState& before, Grade grade, int day) {
    const int q = Quality(grade);
    ReviewState after = before;
    if (q >= 3) {
        if (before.Repetitions == 0)
            after.IntervalDays = 1;
        else if (before.Repetitions == 1)
            after.IntervalDays = 6;
        else // the interval times the easiness, rounded half up, in whole numbers
            after.IntervalDays = int(std::min<long long>(
                LongestIntervalDays,
                (static_cast<long long>(before.IntervalDays) * before.EaseMilli + 500) / 1000));
        ++after.Repetitions;
    } else {
        after.Repetitions = 0;
        after.IntervalDays = 1;
    }
    const int d = 5 - q; // in thousandths: 100 - d * (80 + 20 * d)
    after.EaseMilli = std::max(LeastEaseMilli, before.EaseMilli + 100 - d * (80 + 20 * d));
    after.LastDay = day;
    after.DueDay = day + after.IntervalDays;
    return after;
}
