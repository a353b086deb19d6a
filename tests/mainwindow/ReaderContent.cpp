#include "tests/mainwindow/ReaderContent.h"

#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool IsFixtureSoureh(int sourehId) {
    for (const FixtureSoureh& soureh : FixtureBook::Sourehs())
        if (soureh.SourehID == sourehId)
            return true;
    return false;
}

constexpr int OtherAyehs = 2;
constexpr int OtherStartCol = 430;
constexpr int OtherEndCol = 100;

QByteArray LongRecording(int ghariId, int ayehId) {
    WavSpec wavFormat;
    wavFormat.Rate = 8000;
    wavFormat.DurationMs = ReaderContent::LongRecordingMs;
    wavFormat.Variant = ghariId * 1000 + ReaderContent::LongSoureh * 10 + ayehId;
    return WavBytes(wavFormat);
}

// Every soureh the fixture book lacks: two ayehs on a page of its own, and recordings.
void AddOtherSourehs(FixtureDatabase& quran, FixtureDatabase& sound) {
    std::vector<QRect> ink;
    for (int line = 1; line <= OtherAyehs; ++line)
        ink.push_back(QRect(QPoint(OtherEndCol + 3, DefaultLineRows[line - 1] + 8),
                            QPoint(OtherStartCol - 3, DefaultLineRows[line] - 8)));
    const QByteArray picture = MakeBitmap8(FixtureBook::PageWidth, FixtureBook::PageHeight, 255, ink, 0);

    quran.Begin();
    sound.Begin();
    for (int s = 1; s <= SourehCount; ++s) {
        if (IsFixtureSoureh(s))
            continue;
        const int page = ReaderContent::PageOf(s, 1);
        quran.Insert("Soureh", {{"SourehID", s},
                                {"SourehName", QStringLiteral("سوره %1").arg(s)},
                                {"Maki", s % 2 == 0},
                                {"PageID", page},
                                {"NumberOfAyeh", OtherAyehs}});
        quran.Insert("Pages", {{"PageID", page},
                               {"PageBMP", picture},
                               {"Joze", 1},
                               {"Hezb", QStringLiteral("1")},
                               {"OtherComment", QVariant()}});
        for (int a = 1; a <= OtherAyehs; ++a) {
            const FixtureAyeh ayeh{s, a, page, a, a, OtherStartCol, OtherEndCol};
            quran.Insert("Ayeh", {{"SourehID", s},
                                  {"AyehID", a},
                                  {"PageID", page},
                                  {"StartLine", a},
                                  {"EndLine", a},
                                  {"StartCol", OtherStartCol},
                                  {"EndCol", OtherEndCol},
                                  {"StartAyeh", ayeh.StartAyeh()},
                                  {"EndAyeh", ayeh.EndAyeh()},
                                  {"FarsiTranslation", ayeh.Translation()}});
            for (int ghari = 1; ghari <= 2; ++ghari)
                sound.Insert("Sounds", {{"SourehID", s},
                                        {"AyehID", a},
                                        {"GhariID", ghari},
                                        {"Sound", s == ReaderContent::LongSoureh
                                                      ? LongRecording(ghari, a)
                                                      : FixtureBook::Recording(ghari, s, a)}});
        }
    }
    CreateAyehTextTable(quran);
    for (int s = 1; s <= 114; ++s)
        for (int a = 1; a <= ReaderContent::NumberOfAyeh(s); ++a)
            quran.Insert("AyehText",
                         {{"SourehID", s}, {"AyehID", a}, {"Text", ReaderContent::ArabicText(s, a)}});
    quran.Commit();
    sound.Commit();
}

} // namespace

QString ReaderContent::Folder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        FixtureBook::Create(dir.path(), AddOtherSourehs);
        return true;
    }();
    (void)made;
    return dir.path();
}

int ReaderContent::NumberOfAyeh(int sourehId) {
    for (const FixtureSoureh& soureh : FixtureBook::Sourehs())
        if (soureh.SourehID == sourehId)
            return soureh.NumberOfAyeh;
    return OtherAyehs;
}

int ReaderContent::PageOf(int sourehId, int ayehId) {
    if (IsFixtureSoureh(sourehId))
        return FixtureBook::FindAyeh(sourehId, ayehId).PageID;
    // Pages 7 to 116 after the fixture book's six, in soureh order.
    return sourehId < 9 ? sourehId + 4 : sourehId + 3;
}

QPoint ReaderContent::PointIn(int sourehId, int ayehId) {
    if (!IsFixtureSoureh(sourehId))
        return {(OtherStartCol + OtherEndCol) / 2,
                (DefaultLineRows[ayehId - 1] + DefaultLineRows[ayehId]) / 2};
    const FixtureAyeh& ayeh = FixtureBook::FindAyeh(sourehId, ayehId);
    const int x = ayeh.StartLine == ayeh.EndLine ? (ayeh.StartCol + ayeh.EndCol) / 2 : ayeh.StartCol / 2;
    return {x, (FixtureBook::StartRow(ayeh.PageID, ayeh.StartLine) +
                FixtureBook::EndRow(ayeh.PageID, ayeh.StartLine)) /
                   2};
}

QString ReaderContent::Translation(int sourehId, int ayehId) {
    return FixtureAyeh{sourehId, ayehId, 0, 0, 0, 0, 0}.Translation();
}

QString ReaderContent::ArabicText(int sourehId, int ayehId) {
    if (sourehId == ThroneSoureh && ayehId == ThroneAyeh)
        return QStringLiteral(u"وَسِعَ كُرۡسِيُّهُ ٱلسَّمَٰوَٰتِ وَٱلۡأَرۡضَ");
    return QStringLiteral(u"ءَايَةُ %1 مِنۡ سُورَةِ %2").arg(ayehId).arg(sourehId);
}

// --- NoticeWatcher ---

NoticeWatcher::NoticeWatcher() {
    frmMessageBox = &Dialog;
    Timer.setInterval(10);
    QObject::connect(&Timer, &QTimer::timeout, [this] {
        if (Dialog.isVisible()) {
            ++Count;
            Dialog.done(0);
        }
    });
    Timer.start();
}

NoticeWatcher::~NoticeWatcher() {
    frmMessageBox = nullptr;
}

// --- ReaderTest ---

void PrintTo(const RecitationStep& step, std::ostream* out) {
    *out << step.Recording.toStdString() << " x" << step.Count;
}

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void ReaderTest::SetUp() {
    ClearSettings();
    Cwd.emplace(ReaderContent::Folder());
}

void ReaderTest::TearDown() {
    Form.reset();
    GlobalQuran.reset();
    Cwd.reset();
    ClearSettings();
}

void ReaderTest::OpenForm() {
    Steps.clear();
    auto player = std::make_unique<FakeAudioPlayer>();
    Player = player.get();
    Form = std::make_unique<TTntMainForm>(std::move(player));
    // Connected after the window's own handler: each record shows what the notice led to.
    QObject::connect(Form->MediaPlayer1, &AudioPlayer::OnNotify, Form.get(), [this] {
        ++NoticesSeen;
        RecordStep();
    });
    Form->show();
}

QString ReaderTest::SettingsFile() {
    return QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication))
        .fileName();
}

void ReaderTest::ClearSettings() {
    {
        QSettings settings(QString::fromLatin1(SettingsOrganisation),
                           QString::fromLatin1(SettingsApplication));
        settings.clear();
        settings.sync();
    }
    QFile::remove(SettingsFile());
}

QString ReaderTest::Loaded() const {
    const QString file = Form->MediaPlayer1->FileName();
    return file.isEmpty() ? QString() : QFileInfo(file).fileName();
}

PlayerMode ReaderTest::Mode() const {
    return Form->MediaPlayer1->Mode();
}

bool ReaderTest::WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void ReaderTest::Settle() {
    // A round of events may queue notices for the next; a round that delivers none ends it.
    for (int seen = -1; seen != NoticesSeen;) {
        seen = NoticesSeen;
        QCoreApplication::processEvents();
    }
}

void ReaderTest::EndRecording() {
    Player->EndNow();
    Settle();
}

bool ReaderTest::RunUntil(const std::function<bool()>& condition) {
    Settle();
    // Far more recordings than any test lets run.
    for (int recordings = 0; recordings < 1000 && !condition(); ++recordings) {
        if (Player->Mode() != pmPlaying)
            return false;
        EndRecording();
    }
    return condition();
}

std::vector<RecitationStep> ReaderTest::StepsUntil(size_t count) {
    RunUntil([&] { return Steps.size() >= count; });
    return std::vector<RecitationStep>(Steps.begin(),
                                       Steps.begin() + std::ptrdiff_t(std::min(count, Steps.size())));
}

void ReaderTest::ChooseSoureh(int sourehId) {
    Form->TntComboBoxSourehsList->setCurrentIndex(sourehId - 1);
    Q_EMIT Form->TntComboBoxSourehsList->activated(sourehId - 1);
}

void ReaderTest::ChooseAyeh(int ayehId) {
    Form->TntComboBoxAyehsList->setCurrentIndex(ayehId - 1);
}

void ReaderTest::ChooseReciter(int ghariId) {
    Form->TntComboBoxGhariList->setCurrentIndex(ghariId - 1);
    Q_EMIT Form->TntComboBoxGhariList->activated(ghariId - 1);
}

void ReaderTest::SetCount(int count) {
    Form->SpinEditReadingCount->SetValue(count);
}

void ReaderTest::RecordStep() {
    const RecitationStep step{Loaded(), Form->SpinEditReadingCount->Value()};
    if (!Steps.empty() && Steps.back() == step)
        return;
    Steps.push_back(step);
    if (AtStep)
        AtStep(step);
}

void ReaderTest::Recite(int sourehId, int ayehId, int count) {
    ChooseSoureh(sourehId);
    ChooseAyeh(ayehId);
    SetCount(count);
    Form->TntSpeedButtonPlay->click();
    Steps.clear();
    RecordStep();
}

void ReaderTest::ClickAyeh(int sourehId, int ayehId, Qt::MouseButton button) {
    QTest::mouseClick(Form->TntImage1, button, {}, ReaderContent::PointIn(sourehId, ayehId));
    Steps.clear();
    RecordStep();
}

void ReaderTest::GoToPage(const QString& text) {
    Form->txtPageNo->setText(text);
    QTest::keyClick(Form->txtPageNo, Qt::Key_Return);
}

int ReaderTest::ListedSoureh() const {
    return Form->TntComboBoxSourehsList->currentIndex() + 1;
}
int ReaderTest::ListedAyeh() const {
    return Form->TntComboBoxAyehsList->currentIndex() + 1;
}
int ReaderTest::CurrentSoureh() const {
    return GlobalQuran ? GlobalQuran->Soureh->SourehID : 0;
}
int ReaderTest::CurrentAyeh() const {
    return GlobalQuran ? GlobalQuran->Soureh->Ayeh->AyehID : 0;
}

bool ReaderTest::IsRed(int sourehId, int ayehId) const {
    if (!GlobalQuran || !GlobalQuran->Page ||
        GlobalQuran->Page->PageID != ReaderContent::PageOf(sourehId, ayehId))
        return false;
    const QPoint p = ReaderContent::PointIn(sourehId, ayehId);
    return Form->TntImage1->Surface().pixel(p) == qRgb(255, 0, 0);
}

int ReaderTest::RedCount() const {
    const QImage& surface = Form->TntImage1->Surface();
    int count = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            count += surface.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    return count;
}
