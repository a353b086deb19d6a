#pragma once
// What the learning tests share: a clock the test moves, and a learner's file in a folder of
// its own.

#include "learning/LearnerData.h"
#include "learning/LearningClock.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <memory>

// Starts at 09:00 on a spring morning in Tehran (UTC+03:30), whatever the machine's zone.
class MovableClock final : public LearningClock {
public:
    QDateTime Now() const override { return Moment; }
    void MoveDays(int days) { Moment = Moment.addDays(days); }
    void MoveSeconds(qint64 seconds) { Moment = Moment.addSecs(seconds); }

    QDateTime Moment{QDate(2026, 3, 21), QTime(9, 0), QTimeZone(12600)};
};

class LearnerFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }

    QString Path() const { return Dir.filePath(QStringLiteral("learning.db")); }
    // Opens the file, expecting it to open as it is.
    std::unique_ptr<LearnerData> OpenData() {
        LearnerOpening opening = LearnerData::Open(Path(), Clock);
        EXPECT_EQ(opening.Result, LearnerOpening::Outcome::Opened) << opening.Message.toStdString();
        return std::move(opening.Data);
    }

    QTemporaryDir Dir;
    MovableClock Clock;
};
