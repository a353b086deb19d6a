#include "learning/LearnerData.h"

#include "content/MushafCounts.h"
#include "learning/LearnerCsv.h"
#include "recordings/UserContent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimeZone>
#include <set>
#include <sqlite3.h>
#include <string>
#include <utility>

namespace {

// "Glvr": marks the file as this reader's, so that a foreign database at the same name is
// not taken for a damaged plan or, worse, written into.
constexpr int ApplicationId = 0x476C7672;
// How long a write waits for another reader's write to end before it fails.
constexpr int BusyTimeoutMilliseconds = 3000;

// The schema, step by step: Steps[n] brings a file from version n to n + 1.
const char* const Steps[] = {
    "CREATE TABLE Review (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL,"
    " Repetitions INTEGER NOT NULL, EaseMilli INTEGER NOT NULL, IntervalDays INTEGER NOT NULL,"
    " LastDay INTEGER NOT NULL, DueDay INTEGER NOT NULL, PRIMARY KEY (SourehID, AyehID)) WITHOUT ROWID;"
    "CREATE TABLE Grade (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL, GivenMs INTEGER NOT NULL,"
    " OffsetSeconds INTEGER NOT NULL, Grade INTEGER NOT NULL CHECK (Grade BETWEEN 1 AND 4));"
    "CREATE INDEX GradeByAyeh ON Grade (SourehID, AyehID, GivenMs);"
    "CREATE TABLE Note (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL, Text TEXT NOT NULL,"
    " PRIMARY KEY (SourehID, AyehID)) WITHOUT ROWID;",
};
static_assert(std::size(Steps) == LearnerSchemaVersion);

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void Fail(sqlite3* db, const QString& path) {
    throw LearningError(QStringLiteral("%1: %2").arg(Native(path), QString::fromUtf8(sqlite3_errmsg(db))));
}

// One prepared statement of the learner's file, failing with the file's name.
class Query final {
public:
    Query(sqlite3* db, const QString& path, const char* sql) : Db(db), Path(path) {
        try {
            Statement = SqliteStatement(db, sql);
        } catch (const ContentError& error) {
            throw LearningError(QStringLiteral("%1: %2").arg(Native(path), QString::fromUtf8(error.what())));
        }
    }
    Query& Bind(int index, qint64 value) {
        if (sqlite3_bind_int64(Statement.Get(), index, value) != SQLITE_OK)
            Fail(Db, Path);
        return *this;
    }
    Query& Bind(int index, const QString& text) {
        const QByteArray bytes = text.toUtf8();
        if (sqlite3_bind_text(Statement.Get(), index, bytes.constData(), int(bytes.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            Fail(Db, Path);
        return *this;
    }
    // True while there is a row.
    bool Step() {
        const int rc = sqlite3_step(Statement.Get());
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            Fail(Db, Path);
        return false;
    }
    void Run() {
        while (Step()) {
        }
    }
    int Int(int column) const { return sqlite3_column_int(Statement.Get(), column); }
    qint64 Int64(int column) const { return sqlite3_column_int64(Statement.Get(), column); }
    QString Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement.Get(), column));
        return QString::fromUtf8(text, sqlite3_column_bytes(Statement.Get(), column));
    }

private:
    sqlite3* Db;
    const QString& Path;
    SqliteStatement Statement;
};

void Exec(sqlite3* db, const QString& path, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(db, path);
}

int PragmaNumber(sqlite3* db, const QString& path, const char* sql) {
    Query query(db, path, sql);
    return query.Step() ? query.Int(0) : 0;
}

// A write transaction begun at once (so it waits for another reader's write here, not at
// the first change), rolled back unless committed.
class WriteTransaction final {
public:
    WriteTransaction(sqlite3* db, const QString& path) : Db(db), Path(path) {
        Exec(db, path, "BEGIN IMMEDIATE");
    }
    ~WriteTransaction() {
        if (Open)
            sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit() {
        Exec(Db, Path, "COMMIT");
        Open = false;
    }

private:
    sqlite3* Db;
    const QString& Path;
    bool Open = true;
};

SqliteDatabase OpenFile(const QString& path, int flags) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    SqliteDatabase database(handle);
    if (rc != SQLITE_OK)
        throw LearningError(QStringLiteral("%1: %2").arg(
            Native(path), QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc))));
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, BusyTimeoutMilliseconds);
    return database;
}

enum class FileState { Usable, Damaged, Newer };

struct Probe {
    FileState State = FileState::Usable;
    QString Detail;
};

bool IsDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

// The first column of the first row of `sql` as text; none when the engine finds the file
// damaged. Throws LearningError for any other failure.
std::optional<QString> ReadValue(sqlite3* db, const QString& path, const char* sql) {
    int rc = SQLITE_OK;
    try {
        const SqliteStatement statement(db, sql);
        rc = sqlite3_step(statement.Get());
        if (rc == SQLITE_ROW)
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement.Get(), 0)));
        if (rc == SQLITE_DONE)
            return QString();
    } catch (const ContentError&) {
        rc = sqlite3_extended_errcode(db);
    }
    if (IsDamage(rc))
        return std::nullopt;
    Fail(db, path);
}

// Looks at an existing file without writing to it. Throws LearningError for a failure that
// says nothing about the file's own state (no permission, a lock held too long, ...).
Probe ProbeFile(const QString& path) {
    const SqliteDatabase database = OpenFile(path, SQLITE_OPEN_READONLY);
    sqlite3* db = database.Get();
    const auto damaged = [&](const QString& why) { return Probe{FileState::Damaged, why}; };
    const std::optional<QString> application = ReadValue(db, path, "PRAGMA application_id");
    const std::optional<QString> version = ReadValue(db, path, "PRAGMA user_version");
    const std::optional<QString> tables = ReadValue(db, path, "SELECT count(*) FROM sqlite_master");
    if (!application || !version || !tables)
        return damaged(QString::fromUtf8(sqlite3_errmsg(db)));
    const int applicationId = application->toInt();
    const int versionNumber = version->toInt();
    if (applicationId != ApplicationId && (applicationId != 0 || versionNumber != 0 || tables->toInt() != 0))
        return damaged(QStringLiteral("the file belongs to another program"));
    if (versionNumber > LearnerSchemaVersion)
        return {FileState::Newer, QStringLiteral("schema version %1; this reader knows versions up to %2")
                                      .arg(versionNumber)
                                      .arg(LearnerSchemaVersion)};
    const std::optional<QString> check = ReadValue(db, path, "PRAGMA quick_check(1)");
    if (!check)
        return damaged(QString::fromUtf8(sqlite3_errmsg(db)));
    if (*check != QStringLiteral("ok"))
        return damaged(*check);
    return {};
}

// Renames a damaged file (with its WAL and journal) to "<name>.damaged-<time>" beside it, so
// that nothing in it is lost and a new file can take its name. Returns the new name.
QString MoveAside(const QString& path, const QDateTime& now) {
    const QString stem = path + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral("-wal")); ++n)
        target = stem + u'-' + QString::number(n);
    if (!QFile::rename(path, target))
        throw LearningError(QStringLiteral("%1: cannot rename it to %2").arg(Native(path), Native(target)));
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-journal")})
        if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, target + suffix))
            throw LearningError(QStringLiteral("%1: cannot rename it to %2")
                                    .arg(Native(path + suffix), Native(target + suffix)));
    QFile::remove(path + QStringLiteral("-shm"));
    return target;
}

// Brings the file up to the current schema, each step and the new version in one
// transaction; a second reader opening the file at the same time finds the work done.
void Migrate(sqlite3* db, const QString& path) {
    WriteTransaction transaction(db, path);
    const int version = PragmaNumber(db, path, "PRAGMA user_version");
    if (version > LearnerSchemaVersion)
        throw LearningError(QStringLiteral("%1: a newer reader changed the file while it was being opened")
                                .arg(Native(path)));
    if (version == LearnerSchemaVersion)
        return;
    for (int step = version; step < LearnerSchemaVersion; ++step)
        Exec(db, path, Steps[step]);
    Exec(db, path, ("PRAGMA application_id = " + std::to_string(ApplicationId)).c_str());
    Exec(db, path, ("PRAGMA user_version = " + std::to_string(LearnerSchemaVersion)).c_str());
    transaction.Commit();
}

// What the learner is told when the plan cannot be opened as it was.
const QString TextNewer =
    QStringLiteral(u"پروندهٔ برنامهٔ حفظ را نسخهٔ تازه‌تری "
                   u"از این نرم‌افزار نوشته است. پرونده "
                   u"دست‌نخورده می‌ماند و برنامهٔ مرور "
                   u"در این نسخه در دسترس نیست.");
const QString TextFailed = QStringLiteral(u"پروندهٔ برنامهٔ حفظ باز نشد و برنامهٔ "
                                          u"مرور در این نوبت در دسترس نیست؛ "
                                          u"چیزی از آن پاک نشد.");
const QString TextMovedAside = QStringLiteral(u"پروندهٔ برنامهٔ حفظ آسیب دیده بود. "
                                              u"آن را با این نام کنار گذاشتیم و "
                                              u"برنامهٔ مرور از نو آغاز می‌شود:");
const QString TextMovedAlready =
    QStringLiteral(u"پروندهٔ آسیب‌دیده کنار گذاشته شد: ");

QString LeftToRight(const QString& text) {
    return QChar(0x202A) + text + QChar(0x202C);
}

void CheckAyeh(int sourehId, int ayehId) {
    if (ayehId < 1 || ayehId > NumberOfAyehs(sourehId))
        throw LearningError(QStringLiteral("there is no ayeh %1 of soureh %2").arg(ayehId).arg(sourehId));
}

QDateTime MomentOf(qint64 milliseconds, int offsetSeconds) {
    const QTimeZone zone(offsetSeconds);
    return QDateTime::fromMSecsSinceEpoch(milliseconds, zone.isValid() ? zone : QTimeZone::utc());
}

constexpr const char* StateColumns = "Repetitions, EaseMilli, IntervalDays, LastDay, DueDay";

ReviewState StateAt(const Query& query, int first) {
    return {query.Int(first), query.Int(first + 1), query.Int(first + 2), query.Int(first + 3),
            query.Int(first + 4)};
}

std::optional<ReviewState> ReadState(sqlite3* db, const QString& path, int sourehId, int ayehId) {
    Query query(
        db, path,
        (std::string("SELECT ") + StateColumns + " FROM Review WHERE SourehID = ? AND AyehID = ?").c_str());
    query.Bind(1, sourehId).Bind(2, ayehId);
    if (!query.Step())
        return std::nullopt;
    return StateAt(query, 0);
}

void WriteState(sqlite3* db, const QString& path, int sourehId, int ayehId, const ReviewState& state) {
    Query query(db, path,
                (std::string("INSERT OR REPLACE INTO Review (SourehID, AyehID, ") + StateColumns +
                 ") VALUES (?, ?, ?, ?, ?, ?, ?)")
                    .c_str());
    query.Bind(1, sourehId).Bind(2, ayehId).Bind(3, state.Repetitions).Bind(4, state.EaseMilli);
    query.Bind(5, state.IntervalDays).Bind(6, state.LastDay).Bind(7, state.DueDay).Run();
}

void WriteNote(sqlite3* db, const QString& path, int sourehId, int ayehId, const QString& text) {
    if (text.trimmed().isEmpty()) {
        Query(db, path, "DELETE FROM Note WHERE SourehID = ? AND AyehID = ?")
            .Bind(1, sourehId)
            .Bind(2, ayehId)
            .Run();
        return;
    }
    Query(db, path, "INSERT OR REPLACE INTO Note (SourehID, AyehID, Text) VALUES (?, ?, ?)")
        .Bind(1, sourehId)
        .Bind(2, ayehId)
        .Bind(3, text)
        .Run();
}

// The ayeh's state from all its grades, in the order given.
ReviewState Replay(sqlite3* db, const QString& path, int sourehId, int ayehId) {
    Query query(db, path,
                "SELECT GivenMs, OffsetSeconds, Grade FROM Grade WHERE SourehID = ? AND AyehID = ?"
                " ORDER BY GivenMs, rowid");
    query.Bind(1, sourehId).Bind(2, ayehId);
    ReviewState state;
    while (query.Step())
        state = Schedule(state, Grade(query.Int(2)), LearningDay(MomentOf(query.Int64(0), query.Int(1))));
    return state;
}

} // namespace

QString LearnerDatabasePath() {
    return QDir(UserContentFolder()).filePath(QString::fromLatin1(LearnerDatabaseFile));
}

LearnerOpening LearnerData::Open(const QString& path, const LearningClock& clock) {
    LearnerOpening opening;
    QString detail;
    try {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder))
            throw LearningError(QStringLiteral("%1: cannot make the folder").arg(Native(folder)));
        if (QFileInfo(path).exists()) {
            const Probe probe = ProbeFile(path);
            if (probe.State == FileState::Newer) {
                opening.Result = LearnerOpening::Outcome::Newer;
                opening.Message =
                    TextNewer + u'\n' + LeftToRight(Native(path) + QStringLiteral(": ") + probe.Detail);
                return opening;
            }
            if (probe.State == FileState::Damaged) {
                opening.MovedTo = MoveAside(path, clock.Now());
                detail = probe.Detail;
            }
        }
        SqliteDatabase database = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // WAL: a reader never waits for a writer, and a commit is one append to the log, in
        // the system's hands once it returns, so a kill of this process loses nothing
        // committed. NORMAL leaves syncing the log to the checkpoints: a power cut may lose
        // the last grades (never the file), where syncing every grade would cost a disk flush
        // each (about 5 ms here).
        Exec(database.Get(), path, "PRAGMA journal_mode = WAL");
        Exec(database.Get(), path, "PRAGMA synchronous = NORMAL");
        Migrate(database.Get(), path);
        opening.Data.reset(new LearnerData(path, std::move(database), clock));
    } catch (const LearningError& error) {
        opening.Result = LearnerOpening::Outcome::Failed;
        opening.Message = TextFailed + u'\n' + LeftToRight(QString::fromUtf8(error.what()));
        if (!opening.MovedTo.isEmpty())
            opening.Message += u'\n' + TextMovedAlready + LeftToRight(Native(opening.MovedTo));
        return opening;
    }
    if (opening.MovedTo.isEmpty()) {
        opening.Result = LearnerOpening::Outcome::Opened;
        return opening;
    }
    opening.Result = LearnerOpening::Outcome::MovedAside;
    opening.Message =
        TextMovedAside + u'\n' + LeftToRight(Native(opening.MovedTo)) + u'\n' + LeftToRight(detail);
    return opening;
}

LearnerData::LearnerData(QString path, SqliteDatabase database, const LearningClock& clock)
    : FilePath(std::move(path)), Database(std::move(database)), Clock(clock) {}

LearnerData::~LearnerData() = default;

int LearnerData::Today() const {
    return LearningDay(Clock.Now());
}

ReviewState LearnerData::RecordGrade(int sourehId, int ayehId, Grade grade) {
    CheckAyeh(sourehId, ayehId);
    const QDateTime now = Clock.Now();
    sqlite3* db = Database.Get();
    WriteTransaction transaction(db, FilePath);
    const ReviewState state =
        Schedule(ReadState(db, FilePath, sourehId, ayehId).value_or(ReviewState()), grade, LearningDay(now));
    Query(db, FilePath,
          "INSERT INTO Grade (SourehID, AyehID, GivenMs, OffsetSeconds, Grade) VALUES (?, ?, ?, ?, ?)")
        .Bind(1, sourehId)
        .Bind(2, ayehId)
        .Bind(3, now.toMSecsSinceEpoch())
        .Bind(4, now.offsetFromUtc())
        .Bind(5, int(grade))
        .Run();
    WriteState(db, FilePath, sourehId, ayehId, state);
    transaction.Commit();
    return state;
}

std::optional<ReviewState> LearnerData::Review(int sourehId, int ayehId) const {
    return ReadState(Database.Get(), FilePath, sourehId, ayehId);
}

std::vector<AyehReview> LearnerData::Reviews() const {
    Query query(
        Database.Get(), FilePath,
        (std::string("SELECT SourehID, AyehID, ") + StateColumns + " FROM Review ORDER BY SourehID, AyehID")
            .c_str());
    std::vector<AyehReview> reviews;
    reviews.reserve(TotalAyehCount);
    while (query.Step())
        reviews.push_back({query.Int(0), query.Int(1), StateAt(query, 2)});
    return reviews;
}

std::vector<GradeRecord> LearnerData::Grades() const {
    Query query(Database.Get(), FilePath,
                "SELECT SourehID, AyehID, GivenMs, OffsetSeconds, Grade FROM Grade"
                " ORDER BY SourehID, AyehID, GivenMs, rowid");
    std::vector<GradeRecord> grades;
    while (query.Step())
        grades.push_back(
            {query.Int(0), query.Int(1), MomentOf(query.Int64(2), query.Int(3)), Grade(query.Int(4))});
    return grades;
}

void LearnerData::SetNote(int sourehId, int ayehId, const QString& text) {
    CheckAyeh(sourehId, ayehId);
    WriteNote(Database.Get(), FilePath, sourehId, ayehId, text);
}

QString LearnerData::Note(int sourehId, int ayehId) const {
    Query query(Database.Get(), FilePath, "SELECT Text FROM Note WHERE SourehID = ? AND AyehID = ?");
    query.Bind(1, sourehId).Bind(2, ayehId);
    return query.Step() ? query.Text(0) : QString();
}

std::vector<AyehNote> LearnerData::Notes() const {
    Query query(Database.Get(), FilePath,
                "SELECT SourehID, AyehID, Text FROM Note ORDER BY SourehID, AyehID");
    std::vector<AyehNote> notes;
    while (query.Step())
        notes.push_back({query.Int(0), query.Int(1), query.Text(2)});
    return notes;
}

void LearnerData::ExportCsv(const QString& file) const {
    const QByteArray bytes = FormatLearnerCsv({Grades(), Notes()});
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw LearningError(QStringLiteral("%1: %2").arg(Native(file), out.errorString()));
}

ImportSummary LearnerData::ImportCsv(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw LearningError(QStringLiteral("%1: %2").arg(Native(file), in.errorString()));
    LearnerCsv content;
    try {
        content = ParseLearnerCsv(in.readAll());
    } catch (const LearningError& error) {
        throw LearningError(QStringLiteral("%1: %2").arg(Native(file), QString::fromUtf8(error.what())));
    }

    sqlite3* db = Database.Get();
    WriteTransaction transaction(db, FilePath);
    ImportSummary summary;
    std::set<std::pair<int, int>> graded;
    for (const GradeRecord& grade : content.Grades) {
        Query kept(
            db, FilePath,
            "SELECT count(*) FROM Grade WHERE SourehID = ? AND AyehID = ? AND GivenMs = ? AND Grade = ?");
        kept.Bind(1, grade.SourehID).Bind(2, grade.AyehID).Bind(3, grade.Given.toMSecsSinceEpoch());
        kept.Bind(4, int(grade.Value)).Step();
        if (kept.Int(0) > 0) {
            ++summary.GradesAlreadyThere;
            continue;
        }
        Query(db, FilePath,
              "INSERT INTO Grade (SourehID, AyehID, GivenMs, OffsetSeconds, Grade) VALUES (?, ?, ?, ?, ?)")
            .Bind(1, grade.SourehID)
            .Bind(2, grade.AyehID)
            .Bind(3, grade.Given.toMSecsSinceEpoch())
            .Bind(4, grade.Given.offsetFromUtc())
            .Bind(5, int(grade.Value))
            .Run();
        ++summary.GradesAdded;
        graded.insert({grade.SourehID, grade.AyehID});
    }
    for (const AyehNote& note : content.Notes) {
        WriteNote(db, FilePath, note.SourehID, note.AyehID, note.Text);
        ++summary.Notes;
    }
    for (const auto& [soureh, ayeh] : graded)
        WriteState(db, FilePath, soureh, ayeh, Replay(db, FilePath, soureh, ayeh));
    transaction.Commit();
    return summary;
}
