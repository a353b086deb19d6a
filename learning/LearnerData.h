#pragma once
// The learner's data: a plain SQLite file in the per-user data folder holding each ayeh's
// review state, every grade given with its time, and the notes on ayehs. The one owner of
// that file; nothing else reads or writes it.
//
// The file is kept in WAL mode with a busy timeout, so a second reader running at the same
// time waits its turn instead of failing or damaging it; each grade is one transaction, so a
// kill loses at most the grade being written. It carries a schema version (user_version) and
// is brought up to the current one step by step when opened; a file of a newer version is
// never changed.

#include "content/Database.h"
#include "learning/LearningClock.h"
#include "learning/Schedule.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

// Every failure of the learner's data, with the file's name and the engine's message, or for
// an import the line of the file at fault.
class LearningError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit LearningError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

inline constexpr int LearnerSchemaVersion = 1;
inline constexpr const char* LearnerDatabaseFile = "learning.db";

// The learner's file in the per-user data folder (recordings/UserContent.h).
QString LearnerDatabasePath();

struct AyehReview {
    int SourehID = 0;
    int AyehID = 0;
    ReviewState State;
    bool operator==(const AyehReview&) const = default;
};

struct GradeRecord {
    int SourehID = 0;
    int AyehID = 0;
    QDateTime Given; // with the offset from UTC it was given at
    Grade Value = Grade::Good;
    bool operator==(const GradeRecord&) const = default;
};

struct AyehNote {
    int SourehID = 0;
    int AyehID = 0;
    QString Text;
    bool operator==(const AyehNote&) const = default;
};

struct ImportSummary {
    int GradesAdded = 0;
    int GradesAlreadyThere = 0;
    int Notes = 0;
};

class LearnerData;

// What opening the learner's file came to.
struct LearnerOpening {
    enum class Outcome {
        Opened,     // the file as it was (created when there was none)
        MovedAside, // the file was damaged, renamed to MovedTo, and an empty one made in its place
        Newer,      // a newer reader's file: left as it is, and no plan this session
        Failed,     // the file could not be opened or made (an unwritable folder, ...)
    };
    Outcome Result = Outcome::Failed;
    // Null for Newer and Failed.
    std::unique_ptr<LearnerData> Data;
    QString MovedTo;
    // For every outcome but Opened: a sentence in Persian for the learner, with the details.
    QString Message;
};

class LearnerData final {
public:
    // Opens the file at `path` (making its folder and the file when missing). A file that is
    // no database, fails the engine's quick check or belongs to another program is renamed
    // to "<name>.damaged-<yyyyMMdd-HHmmss>" (its WAL beside it) and a new one is made. Never
    // throws. `clock` must outlive the data.
    static LearnerOpening Open(const QString& path, const LearningClock& clock);
    ~LearnerData();
    LearnerData(const LearnerData&) = delete;
    LearnerData& operator=(const LearnerData&) = delete;

    const QString& Path() const { return FilePath; }
    // The learner's present day (LearningDay of the clock).
    int Today() const;

    // Schedules the ayeh by `grade` given now and keeps the grade with its time, both in one
    // transaction; returns the new state. Throws LearningError, and then nothing is kept.
    ReviewState RecordGrade(int sourehId, int ayehId, Grade grade);

    std::optional<ReviewState> Review(int sourehId, int ayehId) const;
    // Every ayeh graded at least once, in Mushaf order.
    std::vector<AyehReview> Reviews() const;
    // Every grade, ayeh by ayeh in Mushaf order and each ayeh's in the order given.
    std::vector<GradeRecord> Grades() const;

    // An empty or blank text removes the note.
    void SetNote(int sourehId, int ayehId, const QString& text);
    QString Note(int sourehId, int ayehId) const; // empty when there is none
    std::vector<AyehNote> Notes() const;          // in Mushaf order

    // Writes every grade and note as CSV to `file`, replacing it only once it is written whole.
    void ExportCsv(const QString& file) const;
    // Adds the grades of a CSV file (those already kept are skipped), sets its notes, and
    // schedules each ayeh it names again from all its grades. A file with any fault changes
    // nothing: the error names its line.
    ImportSummary ImportCsv(const QString& file);

private:
    LearnerData(QString path, SqliteDatabase database, const LearningClock& clock);

    QString FilePath;
    SqliteDatabase Database;
    const LearningClock& Clock;
};
