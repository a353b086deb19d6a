// The reciter list's context menu, driven as a person would: an import of a recitation folder
// and a renaming land in the per-user content folder, leave the content in use as it was, and
// the reader plays the new recordings at once and at its next start.
#include "audio/AudioPlayer.h"
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
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Import = QStringLiteral(u"وارد کردن تلاوت برای این قاری…");
const QString Rename = QStringLiteral(u"تغییر نام قاری…");
constexpr int ImportedMs = 300;

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

    // Per-ayeh recordings of ImportedMs for soureh 1's ayehs first..last.
    void WriteRecitation(int first, int last) const {
        for (int a = first; a <= last; ++a)
            WriteWav(Recitation.filePath(QStringLiteral("001%1.wav").arg(a, 3, 10, QLatin1Char('0'))),
                     WavSpec{FixtureEncoding::Pcm16, 16000, 1, ImportedMs, a});
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
        dialog->setTextValue(name);
        dialog->accept();
    }

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
    OpenForm();
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

    // The next start, in the per-user folder as the launcher starts it.
    Form.reset();
    OpenForm();
    EXPECT_EQ(Form->TntComboBoxGhariList->itemText(1), QStringLiteral("قاری آزموده"));
    EXPECT_NEAR(double(RecordingLength(2, 3)), ImportedMs, 40);
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
    // Long enough that the cancel, clicked as soon as the dialog shows, comes first.
    for (int a = 1; a <= 286; ++a)
        WriteWav(Recitation.filePath(QStringLiteral("002%1.wav").arg(a, 3, 10, QLatin1Char('0'))),
                 WavSpec{FixtureEncoding::Pcm16, 44100, 2, 200, a});
    OpenForm();
    ChooseReciter(2);
    const QString name = Form->TntComboBoxGhariList->currentText();
    Recite(ReaderContent::LongSoureh, 1, 1);
    ASSERT_EQ(Mode(), pmPlaying);

    StartImport(QStringLiteral("بی‌نتیجه"));
    EXPECT_NE(Mode(), pmPlaying);
    auto* progress = Shown<QProgressDialog>();
    ASSERT_NE(progress, nullptr);
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

} // namespace
