// The main window's commands on complete fixture content: start-up from the stored position
// and its errors, the reader without a book, the sound cache of earlier runs, recite, pause,
// a click on an ayeh, the translation tooltip, the reciter and soureh lists, and the jump to
// a page with its errors.
#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "mainwindow/MainCaptions.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <variant>

namespace {

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}

QSettings Store() {
    return QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication));
}

class CommandsTest : public ReaderTest {
protected:
    QString Memo() const { return Form->TntMemo1->toPlainText(); }
    // The state a command must leave alone when it fails.
    struct Selection {
        int Page, ListedSoureh, ListedAyeh, Soureh, Ayeh;
        QString Memo, Loaded;
        bool operator==(const Selection&) const = default;
    };
    Selection Now() const {
        return {GlobalQuran->Page->PageID,
                ListedSoureh(),
                ListedAyeh(),
                CurrentSoureh(),
                CurrentAyeh(),
                Memo(),
                Loaded()};
    }
};

// --- Start-up and the stored position ---

TEST_F(CommandsTest, FirstStartSelectsTheFirstAyehInRedWithThePublisherTextAndPlaysNothing) {
    OpenForm();
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
    EXPECT_EQ(Form->TntComboBoxSourehsList->count(), 114);
    EXPECT_EQ(Form->TntComboBoxSourehsList->itemText(1), QStringLiteral("2- البقرة"));
    EXPECT_EQ(ListedSoureh(), 1);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), ReaderContent::NumberOfAyeh(1));
    EXPECT_EQ(ListedAyeh(), 1);
    EXPECT_EQ(CurrentSoureh(), 1);
    EXPECT_EQ(CurrentAyeh(), 1);
    EXPECT_TRUE(IsRed(1, 1));
    EXPECT_FALSE(IsRed(1, 2) && GlobalQuran->Page->PageID == 1 &&
                 Form->TntImage1->Surface().pixel(ReaderContent::PointIn(1, 2)) == qRgb(255, 0, 0));
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
    EXPECT_EQ(Loaded(), QString());
    EXPECT_NE(Mode(), pmPlaying);
    EXPECT_EQ(GlobalQuran->GhariID, 1);
}

TEST_F(CommandsTest, ThePositionAtCloseComesBackRedAtTheNextStartWithoutSound) {
    OpenForm();
    Recite(2, 4, 1);
    Form->close();
    EXPECT_EQ(Store().value(QString::fromLatin1(LastSourehValue)).toString(), QStringLiteral("2"));
    EXPECT_EQ(Store().value(QString::fromLatin1(LastAyehValue)).toString(), QStringLiteral("4"));
    Form.reset();

    OpenForm();
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
    EXPECT_EQ(ListedSoureh(), 2);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), 5);
    EXPECT_EQ(ListedAyeh(), 4);
    EXPECT_EQ(CurrentSoureh(), 2);
    EXPECT_EQ(CurrentAyeh(), 4);
    EXPECT_TRUE(IsRed(2, 4));
    EXPECT_EQ(Form->txtPageNo->text(), QStringLiteral("3"));
    EXPECT_EQ(Loaded(), QString());
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
}

TEST_F(CommandsTest, ClosingAfterChoosingASourehStoresItsFirstAyeh) {
    OpenForm();
    ChooseSoureh(9);
    ChooseAyeh(2);
    Form->close();
    EXPECT_EQ(Store().value(QString::fromLatin1(LastSourehValue)).toInt(), 9);
    EXPECT_EQ(Store().value(QString::fromLatin1(LastAyehValue)).toInt(), 1);
}

TEST_F(CommandsTest, ClosingAfterAJumpStoresThePagesFirstAyeh) {
    OpenForm();
    GoToPage(QStringLiteral("3"));
    Form->close();
    EXPECT_EQ(Store().value(QString::fromLatin1(LastSourehValue)).toInt(), 2);
    EXPECT_EQ(Store().value(QString::fromLatin1(LastAyehValue)).toInt(), 4);
}

struct StoreCase {
    const char* Name;
    std::function<void(QSettings&)> Fill;
    const char* Message; // empty: no error box
};

class StoredPositionTest : public CommandsTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoredPositionTest, IsReportedWhereItCannotBeReadAndTheReaderStartsAtTheFirstAyeh) {
    {
        QSettings store = Store();
        GetParam().Fill(store);
        store.sync();
    }
    OpenForm();
    const QString message = QString::fromUtf8(GetParam().Message);
    if (message.isEmpty()) {
        EXPECT_TRUE(Boxes.Boxes().isEmpty());
    } else {
        ASSERT_EQ(Boxes.Boxes().size(), 1);
        EXPECT_EQ(Boxes.Boxes().front().Text, message);
        EXPECT_EQ(Boxes.Boxes().front().Title, QStringLiteral("Golvar Holy Quran Learning"));
    }
    EXPECT_EQ(Form->TntComboBoxSourehsList->count(), 114);
    EXPECT_EQ(ListedSoureh(), 1);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), ReaderContent::NumberOfAyeh(1));
    EXPECT_EQ(ListedAyeh(), 1);
    EXPECT_EQ(CurrentSoureh(), 1);
    EXPECT_EQ(CurrentAyeh(), 1);
    EXPECT_TRUE(IsRed(1, 1));
    EXPECT_EQ(Form->TntImage1->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, Form->TntImage1),
              100);
}

// A store holding the given values; an invalid QVariant leaves the value out.
std::function<void(QSettings&)> Stored(const QVariant& soureh, const QVariant& ayeh) {
    return [=](QSettings& store) {
        if (soureh.isValid())
            store.setValue(QString::fromLatin1(LastSourehValue), soureh);
        if (ayeh.isValid())
            store.setValue(QString::fromLatin1(LastAyehValue), ayeh);
        if (!soureh.isValid() && !ayeh.isValid())
            store.setValue(QStringLiteral("Other"), 1);
    };
}

const QVariant None;

// A store in which the reader has kept a bookmark and a practice but no position yet.
void StoredReadingAidsOnly(QSettings& store) {
    store.setValue(QString::fromLatin1(PracticeGroup) + u'/' + QString::fromLatin1(PracticeRoundsValue), 3);
    store.beginWriteArray(QString::fromLatin1(BookmarksGroup));
    store.setArrayIndex(0);
    store.setValue(QString::fromLatin1(BookmarkSourehValue), 2);
    store.setValue(QString::fromLatin1(BookmarkAyehValue), 255);
    store.endArray();
}

// A settings file that is no settings file at all.
void StoredGarbage(QSettings& store) {
    QFile file(store.fileName());
    QDir().mkpath(QFileInfo(file).path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    static const char garbage[] = "\x00\xff[[[LastSoureh\x01=\xfe\n\x00garbage";
    file.write(QByteArray(garbage, sizeof garbage - 1).repeated(64));
}

INSTANTIATE_TEST_SUITE_P(
    Store, StoredPositionTest,
    ::testing::Values(
        StoreCase{"SourehMissing", Stored(None, 3), "Failed to get data for 'LastSoureh'"},
        StoreCase{"AyehMissing", Stored(2, None), "Failed to get data for 'LastAyeh'"},
        StoreCase{"BothMissing", Stored(None, None), "Failed to get data for 'LastSoureh'"},
        StoreCase{"SourehText", Stored(QStringLiteral("abc"), 1), "Invalid data type for 'LastSoureh'"},
        StoreCase{"AyehFraction", Stored(2, QStringLiteral("2.5")), "Invalid data type for 'LastAyeh'"},
        StoreCase{"AyehList", Stored(2, QStringList{QStringLiteral("1"), QStringLiteral("2")}),
                  "Invalid data type for 'LastAyeh'"},
        StoreCase{"SourehBeyondTheLast", Stored(115, 1), ""}, StoreCase{"SourehZero", Stored(0, 1), ""},
        StoreCase{"SourehNegative", Stored(-3, 1), ""}, StoreCase{"AyehBeyondTheSoureh", Stored(2, 6), ""},
        StoreCase{"AyehZero", Stored(2, 0), ""},
        StoreCase{"GarbageFile", StoredGarbage, "Failed to get data for 'LastSoureh'"},
        StoreCase{"ReadingAidsOnly", StoredReadingAidsOnly, ""},
        StoreCase{"ReadingAidsAndAStrayValue",
                  [](QSettings& store) {
                      StoredReadingAidsOnly(store);
                      store.setValue(QString::fromLatin1(LastAyehValue), 4);
                  },
                  "Failed to get data for 'LastSoureh'"}),
    [](const ::testing::TestParamInfo<StoreCase>& testCase) { return std::string(testCase.param.Name); });

// --- Without a book ---

struct BrokenContentCase {
    const char* Name;
    std::function<void(const QString& folder)> Make;
};

class BrokenContentTest : public CommandsTest, public ::testing::WithParamInterface<BrokenContentCase> {};

void CopyContent(const QString& folder) {
    for (const char* name : {"quran.dat", "snd.wav"})
        ASSERT_TRUE(QFile::copy(ReaderContent::Folder() + u'/' + QLatin1String(name),
                                folder + u'/' + QLatin1String(name)));
}

TEST_P(BrokenContentTest, ShowsTheErrorAndOpensTheWindowWithItsCommandsOff) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    GetParam().Make(folder.path());
    Cwd.reset();
    Cwd.emplace(folder.path());
    OpenForm();
    ASSERT_EQ(Boxes.Boxes().size(), 1);
    EXPECT_EQ(GlobalQuran, nullptr);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Form->TntSpeedButtonPlay->isEnabled());
    EXPECT_FALSE(Form->TntSpeedButton1->isEnabled());
    EXPECT_FALSE(Form->TntImage1->isEnabled());
    EXPECT_EQ(Form->TntComboBoxSourehsList->count(), 0);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), 0);

    // Every command and notice finds no book and does nothing, without a further error.
    TTntMainForm& f = *Form;
    RunHandler([&] { f.TntSpeedButtonPlayClick(&f); });
    RunHandler([&] { f.TntSpeedButton1Click(&f); });
    RunHandler([&] { f.TntComboBoxSourehsListChange(&f); });
    RunHandler([&] { f.TntComboBoxGhariListChange(&f); });
    RunHandler([&] { f.TntImage1MouseDown(&f, Qt::LeftButton, {}, 200, 20); });
    RunHandler([&] { f.TntImage1MouseMove(&f, {}, 200, 20); });
    GoToPage(QStringLiteral("5"));
    RunHandler([&] { f.TntBitBtnGoToPageClick(&f); });
    Q_EMIT f.MediaPlayer1->OnNotify(f.MediaPlayer1, f.MediaPlayer1->CurrentPlay());
    Settle();
    EXPECT_EQ(Boxes.Boxes().size(), 1);
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
    Form->close();
    EXPECT_FALSE(QFileInfo::exists(SettingsFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Content, BrokenContentTest,
    ::testing::Values(BrokenContentCase{"Missing", [](const QString&) {}},
                      BrokenContentCase{"Damaged",
                                        [](const QString& folder) {
                                            CopyContent(folder);
                                            QFile file(folder + QStringLiteral("/quran.dat"));
                                            ASSERT_TRUE(
                                                file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                                            file.write(QByteArray(4096, '\x5a'));
                                        }},
                      BrokenContentCase{"WrongPassword",
                                        [](const QString& folder) {
                                            // The sound database under the book's name: its key is another.
                                            CopyContent(folder);
                                            QFile::remove(folder + QStringLiteral("/quran.dat"));
                                            ASSERT_TRUE(QFile::copy(folder + QStringLiteral("/snd.wav"),
                                                                    folder + QStringLiteral("/quran.dat")));
                                        }},
                      BrokenContentCase{"SoundMissing",
                                        [](const QString& folder) {
                                            CopyContent(folder);
                                            QFile::remove(folder + QStringLiteral("/snd.wav"));
                                        }}),
    [](const ::testing::TestParamInfo<BrokenContentCase>& testCase) {
        return std::string(testCase.param.Name);
    });

// --- The sound cache of earlier runs ---

TEST_F(CommandsTest, StartRemovesOnlyTheReadersOwnRecordingsFromItsCacheFolder) {
    OpenForm();
    const QString cache = GlobalQuran->Sounds->Folder;
    Form.reset();
    ASSERT_TRUE(QDir().mkpath(cache + QStringLiteral("/4-5-6.wav")));
    const QStringList gone = {QStringLiteral("1-2-3.wav"), QStringLiteral("2-0-0.wav"),
                              QStringLiteral("12-114-286.wav")};
    const QStringList kept = {QStringLiteral("notes.wav"), QStringLiteral("1-2-3.txt"),
                              QStringLiteral("a-1-2.wav"), QStringLiteral("1-2.wav"),
                              QStringLiteral(".1-2-3.wav")};
    for (const QString& name : gone + kept) {
        QFile file(cache + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(cache + QStringLiteral("/2-0-0.wav"), QFileDevice::Permissions());
    const QString outside = QFileInfo(cache).absolutePath() + QStringLiteral("/1-1-1.wav");
    {
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    OpenForm();
    for (const QString& name : gone)
        EXPECT_FALSE(QFileInfo::exists(cache + u'/' + name)) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(cache + u'/' + name)) << name.toStdString();
    EXPECT_TRUE(QFileInfo(cache + QStringLiteral("/4-5-6.wav")).isDir());
    EXPECT_TRUE(QFileInfo::exists(outside));
    QFile::remove(outside);
    QDir(cache).removeRecursively();
}

// --- Recite, pause and the lists ---

TEST_F(CommandsTest, ReciteButtonRecitesTheAyehChosenInTheListsAndShowsItsTranslation) {
    OpenForm();
    Recite(1, 4, 1);
    EXPECT_EQ(Loaded(), Rec(1, 1, 4));
    EXPECT_EQ(CurrentSoureh(), 1);
    EXPECT_EQ(CurrentAyeh(), 4);
    EXPECT_TRUE(IsRed(1, 4));
    EXPECT_EQ(Memo(), ReaderContent::Translation(1, 4));
}

TEST_F(CommandsTest, ReciteWithCountZeroHighlightsAndShowsTheTranslationWithoutSound) {
    OpenForm();
    Recite(1, 4, 0);
    EXPECT_EQ(Loaded(), Rec(1, 1, 4));
    EXPECT_NE(Mode(), pmPlaying);
    EXPECT_TRUE(IsRed(1, 4));
    EXPECT_EQ(Memo(), ReaderContent::Translation(1, 4));
}

TEST_F(CommandsTest, ReciteSetsThePauseButtonUpAgain) {
    OpenForm();
    Recite(ReaderContent::LongSoureh, 2, 1);
    Form->TntSpeedButton1->click();
    ASSERT_EQ(Mode(), pmPaused);
    Recite(ReaderContent::LongSoureh, 2, 1);
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionPause);
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(Loaded(), Rec(1, 3, 2));
}

TEST_F(CommandsTest, PauseWhileNothingPlaysSpringsBackWithItsCaption) {
    OpenForm();
    Form->TntSpeedButton1->click();
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionPause);
    EXPECT_EQ(Loaded(), QString());
}

TEST_F(CommandsTest, AnotherReciterRecitesTheNextAyeh) {
    OpenForm();
    ChooseReciter(2);
    EXPECT_EQ(GlobalQuran->GhariID, 2);
    Recite(1, 3, 1);
    EXPECT_EQ(Loaded(), Rec(2, 1, 3));
}

TEST_F(CommandsTest, ChoosingASourehTurnsToItsPageWithoutHighlightTranslationOrSound) {
    OpenForm();
    ChooseSoureh(9);
    EXPECT_EQ(GlobalQuran->Page->PageID, 4);
    EXPECT_EQ(Form->txtPageNo->text(), QStringLiteral("4"));
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), 2);
    EXPECT_EQ(ListedAyeh(), 1);
    EXPECT_EQ(CurrentSoureh(), 9);
    EXPECT_EQ(CurrentAyeh(), 1);
    EXPECT_EQ(RedCount(), 0);
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
    EXPECT_EQ(Loaded(), QString());
}

TEST_F(CommandsTest, AContinuousRecitationGoesOnWhileTheDonationWindowIsOpen) {
    QDialog donation;
    frmDonateFunds = &donation;
    OpenForm();
    Recite(1, 1, 1);
    bool reachedWhileOpen = false;
    QTimer::singleShot(0, &donation, [&] {
        reachedWhileOpen = RunUntil([&] { return Loaded() == Rec(1, 1, 4); });
        donation.done(0);
    });
    Form->BitBtn1->click();
    frmDonateFunds = nullptr;
    EXPECT_TRUE(reachedWhileOpen);
}

// --- The page picture ---

class ClickTest : public CommandsTest, public ::testing::WithParamInterface<Qt::MouseButton> {};

TEST_P(ClickTest, AnyButtonOnAnAyehRecitesIt) {
    OpenForm();
    ClickAyeh(1, 2, GetParam());
    EXPECT_EQ(Loaded(), Rec(1, 1, 2));
    EXPECT_EQ(ListedSoureh(), 1);
    EXPECT_EQ(ListedAyeh(), 2);
    EXPECT_EQ(CurrentAyeh(), 2);
    EXPECT_TRUE(IsRed(1, 2));
    EXPECT_EQ(Memo(), ReaderContent::Translation(1, 2));
}

INSTANTIATE_TEST_SUITE_P(Buttons, ClickTest,
                         ::testing::Values(Qt::LeftButton, Qt::RightButton, Qt::MiddleButton),
                         [](const ::testing::TestParamInfo<Qt::MouseButton>& testCase) {
                             return std::string(testCase.param == Qt::LeftButton    ? "Left"
                                                : testCase.param == Qt::RightButton ? "Right"
                                                                                    : "Middle");
                         });

TEST_F(CommandsTest, AClickOnAnAyehOfAnotherSourehSelectsThatSoureh) {
    OpenForm();
    GoToPage(QStringLiteral("3"));
    ClickAyeh(2, 5);
    EXPECT_EQ(ListedSoureh(), 2);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), 5);
    EXPECT_EQ(ListedAyeh(), 5);
    EXPECT_EQ(Loaded(), Rec(1, 2, 5));
    EXPECT_TRUE(IsRed(2, 5));
}

TEST_F(CommandsTest, AClickOutsideEveryAyehChangesNothingAndTheRecordingGoesOn) {
    OpenForm();
    Recite(ReaderContent::LongSoureh, 2, 1);
    const Selection before = Now();
    // The right margin of line 1, a line without ayehs, and the last row below every line.
    for (const QPoint p : {QPoint(450, 20), QPoint(200, 600), QPoint(200, 689)}) {
        QTest::mouseClick(Form->TntImage1, Qt::LeftButton, {}, p);
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(Mode(), pmPlaying);
    }
}

TEST_F(CommandsTest, PointerOverAnAyehShowsItsTranslationAsTooltipWithTheHand) {
    OpenForm();
    QTest::mouseMove(Form->TntImage1, ReaderContent::PointIn(1, 2));
    EXPECT_EQ(Form->TntImage1->Hint(), ReaderContent::Translation(1, 2));
    EXPECT_TRUE(Form->TntImage1->ShowHint());
    EXPECT_EQ(Form->TntImage1->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseMove(Form->TntImage1, QPoint(450, 20));
    EXPECT_EQ(Form->TntImage1->Hint(), QString());
    EXPECT_FALSE(Form->TntImage1->ShowHint());
    EXPECT_EQ(Form->TntImage1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CommandsTest, TooltipsOfThePagePictureShowAfterATenthOfASecond) {
    OpenForm();
    EXPECT_EQ(Form->TntImage1->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, Form->TntImage1),
              100);
}

// --- The jump to a page ---

struct PageCase {
    const char* Name;
    const char16_t* Text;
    // An error message, the page-range notice, or the page and its first ayeh.
    enum { Error, Notice, Page } Outcome;
    const char16_t* Message = u"";
    int PageID = 0, Soureh = 0, Ayeh = 0;
};

class GoToPageTest : public CommandsTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(GoToPageTest, ShowsThePageWithItsFirstAyehOrReportsTheText) {
    const PageCase& c = GetParam();
    OpenForm();
    const Selection before = Now();
    GoToPage(QString::fromUtf16(c.Text));
    switch (c.Outcome) {
    case PageCase::Error:
        ASSERT_EQ(Boxes.Boxes().size(), 1);
        EXPECT_EQ(Boxes.Boxes().front().Text, QString::fromUtf16(c.Message));
        EXPECT_EQ(Notices.Shown(), 0);
        EXPECT_EQ(Now(), before);
        break;
    case PageCase::Notice:
        EXPECT_TRUE(Boxes.Boxes().isEmpty());
        EXPECT_EQ(Notices.Shown(), 1);
        EXPECT_EQ(Now(), before);
        break;
    case PageCase::Page:
        EXPECT_TRUE(Boxes.Boxes().isEmpty());
        EXPECT_EQ(Notices.Shown(), 0);
        EXPECT_EQ(GlobalQuran->Page->PageID, c.PageID);
        EXPECT_EQ(Form->txtPageNo->text(), QString::number(c.PageID));
        EXPECT_EQ(Form->ScrollBox1->VertPosition(), 0);
        EXPECT_EQ(ListedSoureh(), c.Soureh);
        EXPECT_EQ(ListedAyeh(), c.Ayeh);
        EXPECT_EQ(CurrentSoureh(), c.Soureh);
        EXPECT_EQ(CurrentAyeh(), c.Ayeh);
        EXPECT_TRUE(IsRed(c.Soureh, c.Ayeh));
        EXPECT_EQ(Memo(), ReaderContent::Translation(c.Soureh, c.Ayeh));
        EXPECT_EQ(Loaded(), QString());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GoToPageTest,
    ::testing::Values(PageCase{"Empty", u"", PageCase::Error, u"'' is not a valid integer value."},
                      PageCase{"Letters", u"abc", PageCase::Error, u"'abc' is not a valid integer value."},
                      PageCase{"BeyondAnInteger", u"99999999999", PageCase::Error,
                               u"'99999999999' is not a valid integer value."},
                      PageCase{"PersianLetters", u"\u067E\u0646\u062C", PageCase::Error,
                               u"'\u067E\u0646\u062C' is not a valid integer value."},
                      PageCase{"Zero", u"0", PageCase::Notice}, PageCase{"Negative", u"-3", PageCase::Notice},
                      PageCase{"BeyondTheLast", u"605", PageCase::Notice},
                      PageCase{"PersianBeyondTheLast", u"\u06F6\u06F0\u06F5", PageCase::Notice},
                      PageCase{"Spaces", u" 7 ", PageCase::Page, u"", 7, 3, 1},
                      PageCase{"PersianDigits", u"\u06F5\u06F0", PageCase::Page, u"", 50, 47, 1},
                      PageCase{"ArabicIndicDigits", u"\u0663", PageCase::Page, u"", 3, 2, 4},
                      PageCase{"SecondAyehOfASoureh", u"2", PageCase::Page, u"", 2, 2, 1}),
    [](const ::testing::TestParamInfo<PageCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(CommandsTest, GoButtonJumpsLikeEnterAndLeavesARecordingPlaying) {
    OpenForm();
    Recite(ReaderContent::LongSoureh, 2, 1);
    Form->txtPageNo->setText(QStringLiteral("5"));
    Form->TntBitBtnGoToPage->click();
    EXPECT_EQ(GlobalQuran->Page->PageID, 5);
    EXPECT_EQ(CurrentSoureh(), 114);
    EXPECT_TRUE(IsRed(114, 1));
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(Loaded(), Rec(1, 3, 2));
}

TEST_F(CommandsTest, APageWithoutAyehsIsShownAndTheSelectionStays) {
    OpenForm();
    GoToPage(QStringLiteral("6"));
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
    EXPECT_EQ(GlobalQuran->Page->PageID, 6);
    EXPECT_EQ(ListedSoureh(), 1);
    EXPECT_EQ(ListedAyeh(), 1);
}

} // namespace
