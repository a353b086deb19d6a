#pragma once
// When an ayeh is reviewed next: SM-2 (P. Wozniak, 1990), with the learner's four grades
// standing for SM-2's qualities and days counted as the learner's local calendar days.
//
// Grades and their SM-2 quality q (0 to 5):
//   1 forgot -> q 1 ("incorrect response; the correct one remembered" once revealed)
//   2 hard   -> q 3 ("correct response recalled with serious difficulty")
//   3 good   -> q 4 ("correct response after a hesitation")
//   4 easy   -> q 5 ("perfect response")
// After a grade with q >= 3 the run of successful reviews n grows by one and the interval
// is 1 day for n = 1, 6 days for n = 2, and after that the previous interval times the
// easiness EF, rounded to the nearest day. A grade with q < 3 sets n back to 0 and the
// interval to 1 day. Then EF += 0.1 - (5 - q) * (0.08 + (5 - q) * 0.02), never below 1.3
// (forgot -0.54, hard -0.14, good 0, easy +0.10); a new ayeh starts at EF 2.5. EF is kept in
// thousandths so that the same grades give the same days on every machine.

#include <optional>

enum class Grade { Forgot = 1, Hard = 2, Good = 3, Easy = 4 };

// The grade of a number 1 to 4; none for any other.
std::optional<Grade> GradeFromNumber(int number);

// An ayeh counts as memorised once its interval has reached three weeks, the usual threshold
// at which a spaced-repetition item is called mature.
inline constexpr int MemorisedIntervalDays = 21;
inline constexpr int InitialEaseMilli = 2500;
// Intervals stop growing at a hundred years, so that day numbers never overflow.
inline constexpr int LongestIntervalDays = 36500;
inline constexpr int LeastEaseMilli = 1300;

// Days are Julian day numbers (QDate::toJulianDay) of the learner's local date.
struct ReviewState {
    int Repetitions = 0; // successful reviews in a row (SM-2's n)
    int EaseMilli = InitialEaseMilli;
    int IntervalDays = 0;
    int LastDay = 0; // the day of the last grade
    int DueDay = 0;  // LastDay + IntervalDays
    bool operator==(const ReviewState&) const = default;
};

// The state after `grade` given on `day`; `before` is a default state for an ayeh never graded.
ReviewState Schedule(const ReviewState& before, Grade grade, int day);

inline bool IsDue(const ReviewState& state, int today) {
    return state.DueDay <= today;
}
inline bool IsMemorised(const ReviewState& state) {
    return state.IntervalDays >= MemorisedIntervalDays;
}
