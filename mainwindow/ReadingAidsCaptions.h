#pragma once
// The texts of the reading aids: the page's context menu, the search and bookmark dialogs and
// their messages.
#include <QString>

// clang-format off

// The page's context menu.
inline const QString CaptionReciteAyeh = QStringLiteral(u"قرائت این آیه");
inline const QString CaptionCopyAyeh = QStringLiteral(u"رونوشت آیه");
inline const QString CaptionCopyTranslation = QStringLiteral(u"رونوشت ترجمه");
inline const QString CaptionAddBookmark = QStringLiteral(u"افزودن نشانه");
inline const QString CaptionRemoveBookmark = QStringLiteral(u"برداشتن نشانه");
inline const QString CaptionFindMenu = QStringLiteral(u"جستجوی آیه…");
inline const QString CaptionBookmarksMenu = QStringLiteral(u"نشانه‌ها…");

// A copied ayeh: its text, then the soureh's name and the ayeh's number.
inline const QString CaptionCitation = QStringLiteral(u"%1 (%2، آیه %3)");
// A soureh's name and an ayeh's number in the lists of the dialogs.
inline const QString CaptionAyehOf = QStringLiteral(u"%1، آیه %2");

// The search dialog.
inline const QString CaptionFindTitle = QStringLiteral(u"جستجوی آیه");
inline const QString CaptionFindPrompt = QStringLiteral(u"واژه‌هایی از متن عربی یا ترجمهٔ آیه");
inline const QString CaptionFound = QStringLiteral(u"%1 آیه");
inline const QString CaptionFoundMore = QStringLiteral(u"%1 آیه؛ %2 آیهٔ نخست در فهرست");
inline const QString CaptionNotFound = QStringLiteral(u"آیه‌ای با این واژه‌ها یافت نشد.");
inline const QString CaptionNoArabicText = QStringLiteral(u"متن عربی آیه‌ها در این محتوا نیست؛ تنها ترجمه جستجو می‌شود.");

// The bookmark dialog.
inline const QString CaptionBookmarksTitle = QStringLiteral(u"نشانه‌ها");
inline const QString CaptionNoBookmarks = QStringLiteral(u"نشانه‌ای نیست. برای نشانه گذاشتن، روی آیه‌ای در صفحه کلیک راست کنید.");
inline const QString CaptionGoToBookmark = QStringLiteral(u"برو");
inline const QString CaptionRemoveSelected = QStringLiteral(u"حذف");
inline const QString CaptionBookmarkNotSaved = QStringLiteral(u"نشانه‌ها ذخیره نشد: پرونده تنظیمات خواندنی یا نوشتنی نیست.");
// clang-format on

// clang-format off
// The practice: the page's menu and its dialog.
inline const QString CaptionPracticeMenu = QStringLiteral(u"تمرین از این آیه…");
inline const QString CaptionPracticeTitle = QStringLiteral(u"تمرین قرائت");
inline const QString CaptionPracticeFrom = QStringLiteral(u"از:");
inline const QString CaptionPracticeTo = QStringLiteral(u"تا:");
inline const QString CaptionPracticeRounds = QStringLiteral(u"دفعات تکرار بخش:");
inline const QString CaptionPracticeEndless = QStringLiteral(u"بی‌پایان");
inline const QString CaptionPracticePause = QStringLiteral(u"مکث پس از هر آیه:");
inline const QString CaptionPauseNone = QStringLiteral(u"بدون مکث");
inline const QString CaptionPauseFixed = QStringLiteral(u"مکث ثابت");
inline const QString CaptionPauseAyehLength = QStringLiteral(u"به اندازهٔ تلاوت آیه");
inline const QString CaptionPauseTwice = QStringLiteral(u"دو برابر تلاوت آیه");
inline const QString CaptionSeconds = QStringLiteral(u" ثانیه");
inline const QString CaptionPracticeStart = QStringLiteral(u"شروع");
inline const QString CaptionPracticeStop = QStringLiteral(u"توقف");
// clang-format on
