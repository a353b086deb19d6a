#pragma once
// The learner of the learning benchmarks: a learner's file in the private home's data folder
// in which every ayeh was graded once over four days (imported in one go), opened on a clock
// a week later, so that all 6236 ayehs are due.

#include "learning/LearnerData.h"
#include "learning/LearningClock.h"
#include "learning/ReviewPlan.h"

#include <QDateTime>
#include <memory>

class BenchClock final : public LearningClock {
public:
    QDateTime Now() const override { return Moment; }
    QDateTime Moment;
};

struct BenchLearner {
    BenchClock Clock;
    std::unique_ptr<LearnerData> Data;
    // Each ayeh's page, as the benchmark places them.
    AyehPages Pages;
};

// Made at the first call; the process ends with 2 when the file cannot be made.
BenchLearner& GradedLearner();
