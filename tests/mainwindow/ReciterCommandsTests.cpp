// The reciter list's context menu, driven as a person would: an import of a recitation folder
// and a renaming land in the user's own snd.wav in the per-user content folder, whatever
// content the reader was started on, keep what earlier changes and another reader's changes
// made, leave the content in use as it was, and the reader plays the new recordings at once and
// at its next start.
#include "audio/AudioPlayer.h"
#include "content/MushafCounts.h"
#include "recordings/UserContent.h"
#include "tests/mainwindow/ReaderContent.h"
#include "tests/support/WavFixtures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

const QString Import = QStringLiteral(u"وارد کردن تلاوت برای این قاری…");
const QString Rename = QStringLiteral(u"تغییر نام قاری…");
constexpr int ImportedMs = 300;
// The line of the name dialog when the recordings in use are not the user's own.
const QString NotYours = QStringLiteral(u"از آنِ شما نیست");

QByteArray Fingerprint(const QString& folder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char* name : {"quran.dat", "snd.wav"}) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    return hash.result();
}

class ReciterCommandsTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        ASSERT_TRUE(Recitation.isValid());
        QDir(UserContentFolder()).removeRecursively();
        Before = Fingerprint(ReaderContent::Folder());
    }
    void TearDown() override {
        ReaderTest::TearDown();
        QDir(UserContentFolder()).removeRecursively();
        EXPECT_EQ(Fingerprint(ReaderContent::Folder()), Before) << "the content in use was written";
    }

    // Per-ayeh recordings of ms for soureh 1's ayehs first..last.
    void WriteRecitation(int first, int last, int ms = ImportedMs) const {
        for (int a = first; a <= last; ++a)
            WriteWav(Recitation.filePath(QStringLiteral("001%1.wav").arg(a, 3, 10, QLatin1Char('0'))),
                     WavSpec{FixtureEncoding::Pcm16, 16000, 1, ms, a});
    }

    // Opens the window as `make run` and the launcher start the reader: on the fixture content
    // as the default one, or as a folder named with --content.
    void StartReader(bool named = false) {
        Form.reset();
        EnterContentFolder(ReaderContent::Folder(), named);
        OpenForm();
    }

    // A right click on the reciter list, then the menu entry with that caption.
    void ChooseFromReciterMenu(const QString& caption) {
        const QPoint point(20, 10);
        QContextMenuEvent click(QContextMenuEvent::Mouse, point,
                                Form->TntComboBoxGhariList->mapToGlobal(point));
        QApplication::sendEvent(Form->TntComboBoxGhariList, &click);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu";
        EXPECT_EQ(menu->layoutDirection(), Qt::RightToLeft);
        QStringList captions;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            captions << action->text();
            if (action->text() == caption)
                chosen = action;
        }
        EXPECT_EQ(captions, (QStringList{Import, Rename}));
        ASSERT_NE(chosen, nullptr);
        ASSERT_TRUE(chosen->isEnabled());
        menu->close();
        chosen->trigger();
    }

    template <class Dialog> Dialog* Shown() const {
        Dialog* shown = nullptr;
        WaitFor([&] {
            for (Dialog* dialog : Form->findChildren<Dialog*>())
                if (dialog->isVisible())
                    shown = dialog;
            return shown != nullptr;
        });
        return shown;
    }

    void EnterName(const QString& name) {
        auto* dialog = Shown<QInputDialog>();
        ASSERT_NE(dialog, nullptr) << "no name asked";
        EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
        NameLabel = dialog->labelText();
        dialog->setTextValue(name);
        dialog->accept();
    }
    QString NameLabel;

    // Through the menu, the folder dialog and the name dialog.
    void StartImport(const QString& name) {
        ChooseFromReciterMenu(Import);
        auto* dialog = Shown<QFileDialog>();
        ASSERT_NE(dialog, nullptr) << "no folder asked";
        EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->selectFile(Recitation.path());
        static_cast<QDialog*>(dialog)->accept();
        EnterName(name);
    }

    // The text of the next box the window shows, once nothing runs any more.
    QString NextBox() {
        const qsizetype seen = Boxes.Boxes().size();
        if (!WaitFor([&] { return Boxes.Boxes().size() > seen; }, 60000))
            return {};
        return Boxes.Boxes().back().Text;
    }

    // The length of reciter g's recording of 1:a as the player loads it.
    qint64 RecordingLength(int ghariId, int ayehId) {
        ChooseReciter(ghariId);
        Recite(1, ayehId, 1);
        if (Loaded() != QStringLiteral("%1-1-%2.wav").arg(ghariId).arg(ayehId) || Mode() == pmNotReady)
            return -1;
        return Form->MediaPlayer1->Length();
    }

    // Records what the progress dialog shows each time its count moves.
    void WatchProgress() {
        auto* progress = Shown<QProgressDialog>();
        ASSERT_NE(progress, nullptr) << "no progress shown";
        EXPECT_EQ(progress->layoutDirection(), Qt::RightToLeft);
        QObject::connect(progress->findChild<QProgressBar*>(), &QProgressBar::valueChanged, progress,
                         [this, progress](int value) {
                             Progress.push_back({value, progress->maximum(), progress->labelText()});
                         });
    }
    struct ProgressShown {
        int Done;
        int Total;
        QString Text;
    };
    std::vector<ProgressShown> Progress;

    QString UserSoundFile() const { return QDir(UserContentFolder()).filePath(QStringLiteral("snd.wav")); }

    QTemporaryDir Recitation;
    QByteArray Before;
};

TEST_F(ReciterCommandsTest, ImportedRecordingsPlayAtOnceAndAtTheNextStart) {
    WriteRecitation(1, 3);
    StartReader();
    ChooseReciter(2);
    StartImport(QStringLiteral("قاری آزموده"));
    WatchProgress();
    const QString summary = NextBox();
    // Three of the Mushaf's ayehs now have a recording; 1:1 serves as the Bismillah.
    EXPECT_TRUE(summary.contains(QStringLiteral(u"۳ آیه از ۶۲۳۶"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral(u"با بسم‌الله"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("1:4-7"))) << summary.toStdString();
    // Files done of how many (three and the Bismillah step), with the time left on the way.
    ASSERT_FALSE(Progress.empty());
    EXPECT_EQ(Progress.back().Done, 4);
    for (const ProgressShown& shown : Progress) {
        EXPECT_EQ(shown.Total, 4);
        EXPECT_TRUE(shown.Text.contains(
            QStringLiteral(u"پرونده‌ها: %1 از ۴").arg(QChar(0x06F0 + shown.Done))))
            << shown.Text.toStdString();
        EXPECT_EQ(shown.Text.contains(QStringLiteral(u"زمان باقی‌مانده")),
                  shown.Done > 0 && shown.Done < 4);
    }

    EXPECT_TRUE(QFileInfo::exists(UserSoundFile()));
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(UserContentFolder()).canonicalPath());
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), QStringLiteral("قاری آزموده"));
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), 1);
    EXPECT_NEAR(double(RecordingLength(2, 2)), ImportedMs, 40);
    // Reciter 1 keeps its recordings; an ayeh the folder lacks has none of reciter 2.
    EXPECT_LT(RecordingLength(1, 2), ImportedMs / 2);
    EXPECT_EQ(RecordingLength(2, 5), -1);

    // The next start, by the same path: in the per-user folder.
    StartReader();
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(UserContentFolder()).canonicalPath());
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), QStringLiteral("قاری آزموده"));
    EXPECT_NEAR(double(RecordingLength(2, 3)), ImportedMs, 40);
}

TEST_F(ReciterCommandsTest, EveryImportGoesIntoTheUsersOwnRecordingsWhereverTheReaderStarted) {
    const struct {
        const char* Name;
        bool Named; // started with --content on the fixture content
        int GhariID;
        int Ms;
        bool NotYours; // the name dialog says the recordings in use are not the user's
    } starts[] = {
        {"make run, before any recordings of the user's", false, 2, 300, true},
        {"--content, the user's own recordings set aside", true, 3, 600, true},
        {"make run again, on the user's own recordings", false, 4, 900, false},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.Name);
        StartReader(start.Named);
        ChooseReciter(start.GhariID);
        WriteRecitation(1, 3, start.Ms);
        StartImport(QStringLiteral("قاری %1").arg(start.GhariID));
        EXPECT_EQ(NameLabel.contains(NotYours), start.NotYours) << NameLabel.toStdString();
        EXPECT_FALSE(NextBox().isEmpty());
    }
    StartReader();
    for (const auto& start : starts) {
        SCOPED_TRACE(start.Name);
        EXPECT_EQ(Form->TntComboBoxGhariList->itemText(start.GhariID - 1),
                  QStringLiteral("قاری %1").arg(start.GhariID));
        // IMA ADPCM fills its last block: up to 64 ms more at 16 kHz.
        EXPECT_NEAR(double(RecordingLength(start.GhariID, 2)), start.Ms + 32, 40);
    }
}

TEST_F(ReciterCommandsTest, AChangeRunningInAnotherReaderIsWaitedForAndKept) {
    StartReader();
    ChooseReciter(2);
    ChooseFromReciterMenu(Rename);
    EnterName(QStringLiteral("نام دوم"));
    ASSERT_TRUE(
        WaitFor([&] { return Form->TntComboBoxGhariList->itemText(1) == QStringLiteral("نام دوم"); }));

    // Another reader renames reciter 1, holding the file until it is let go on.
    QProcess other;
    other.start(QStringLiteral(RECORDINGS_CHANGE_HOLDER), {QStringLiteral("rename"), UserSoundFile(),
                                                           QStringLiteral("1"), QStringLiteral("نام دیگری")});
    ASSERT_TRUE(other.waitForReadyRead(60000));
    ASSERT_EQ(other.readLine().trimmed(), QByteArray("locked"));

    ChooseFromReciterMenu(Rename);
    EnterName(QStringLiteral("نام سوم"));
    const QString refused = NextBox();
    EXPECT_TRUE(refused.contains(QStringLiteral(u"پنجرهٔ دیگری"))) << refused.toStdString();
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), QStringLiteral("نام دوم"));

    other.write("\n");
    other.closeWriteChannel();
    ASSERT_TRUE(other.waitForFinished(60000));
    ASSERT_EQ(other.exitCode(), 0) << other.readAll().toStdString();
    ChooseFromReciterMenu(Rename);
    EnterName(QStringLiteral("نام سوم"));
    ASSERT_TRUE(
        WaitFor([&] { return Form->TntComboBoxGhariList->itemText(1) == QStringLiteral("نام سوم"); }));
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(0), QStringLiteral("نام دیگری"));
}

TEST_F(ReciterCommandsTest, RenamingNamesTheReciterNowAndAtTheNextStart) {
    OpenForm();
    ChooseReciter(2);
    ChooseFromReciterMenu(Rename);
    EnterName(QStringLiteral("  نام دیگر "));
    ASSERT_TRUE(
        WaitFor([&] { return Form->TntComboBoxGhariList->itemText(1) == QStringLiteral("نام دیگر"); }));
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), 1);
    EXPECT_LT(RecordingLength(2, 2), ImportedMs / 2);

    // A second change is made in the per-user folder the reader now has open.
    ChooseFromReciterMenu(Rename);
    EnterName(QStringLiteral("نام سوم"));
    ASSERT_TRUE(
        WaitFor([&] { return Form->TntComboBoxGhariList->itemText(1) == QStringLiteral("نام سوم"); }));
    Form.reset();
    OpenForm();
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), QStringLiteral("نام سوم"));
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(ReciterCommandsTest, CancelledImportStopsTheRecitationAndChangesNothing) {
    WriteRecitation(1, 3);
    OpenForm();
    ChooseReciter(2);
    const QString name = Form->TntComboBoxGhariList->currentText();
    Recite(ReaderContent::LongSoureh, 1, 1);
    ASSERT_EQ(Mode(), pmPlaying);

    StartImport(QStringLiteral("بی‌نتیجه"));
    EXPECT_NE(Mode(), pmPlaying);
    auto* progress = Shown<QProgressDialog>();
    ASSERT_NE(progress, nullptr);
    // However far the import has got, the click comes before its end is handled.
    progress->findChild<QPushButton*>()->click();

    const QString note = NextBox();
    EXPECT_TRUE(note.contains(QStringLiteral(u"لغو"))) << note.toStdString();
    EXPECT_FALSE(QFileInfo::exists(UserContentFolder()));
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(ReaderContent::Folder()).canonicalPath());
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), name);
    EXPECT_NE(Mode(), pmPlaying) << Loaded().toStdString();
    EXPECT_LT(RecordingLength(2, 2), ImportedMs / 2);
}

TEST_F(ReciterCommandsTest, FileThatCannotBeDecodedFailsTheImportAndChangesNothing) {
    WriteRecitation(1, 3);
    WriteBytes(Recitation.filePath(QStringLiteral("001004.mp3")),
               QByteArray("ID3 no audio in here").repeated(30));
    OpenForm();
    ChooseReciter(2);
    StartImport(QStringLiteral("بی‌نتیجه"));
    const QString error = NextBox();
    EXPECT_TRUE(error.contains(QStringLiteral("001004.mp3"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(UserSoundFile()));
    EXPECT_LT(RecordingLength(2, 2), ImportedMs / 2);
}

TEST_F(ReciterCommandsTest, AFolderOfFilesThatCannotBeDecodedIsSummedUpInABoxThatFitsTheScreen) {
    // Every ayeh of the Mushaf, none of them a recording.
    for (int s = 1; s <= SourehCount; ++s)
        for (int a = 1; a <= NumberOfAyehs(s); ++a)
            WriteBytes(Recitation.filePath(QStringLiteral("%1%2.wav")
                                               .arg(s, 3, 10, QLatin1Char('0'))
                                               .arg(a, 3, 10, QLatin1Char('0'))),
                       QByteArray("not a recording"));
    OpenForm();
    QString details;
    QSize sizes[2];
    Boxes.WhileShown = [&](const ModalWatcher::Box&) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        details = box->detailedText();
        sizes[0] = box->frameGeometry().size();
        // With the whole list shown as well.
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == QMessageBox::ActionRole)
                button->click();
        sizes[1] = box->sizeHint();
        auto* list = box->findChild<QTextEdit*>();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isVisible());
        EXPECT_TRUE(list->textInteractionFlags() & Qt::TextSelectableByMouse);
    };
    ChooseReciter(2);
    StartImport(QStringLiteral("بی‌نتیجه"));
    const QString text = NextBox();
    ASSERT_TRUE(WaitFor([&] { return !details.isEmpty(); }));
    EXPECT_TRUE(text.contains(QStringLiteral("001001.wav"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(u"و ۶۲۳۱ پروندهٔ دیگر"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("001006.wav")));
    EXPECT_EQ(details.count(u'\n') + 1, TotalAyehCount);
    EXPECT_TRUE(details.contains(QStringLiteral("114006.wav")));
    for (const QSize& size : sizes) {
        EXPECT_LE(size.width(), 1024);
        EXPECT_LE(size.height(), 768);
    }
    EXPECT_FALSE(QFileInfo::exists(UserSoundFile()));
}

} // namespace
