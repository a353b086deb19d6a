#pragma once
// The texts of the memorisation windows: the progress window, the due list, the note dialog
// and the sitting panel.
#include <QString>

// clang-format off

// The entries of the page's menu.
inline const QString CaptionMemoriseMenu = QStringLiteral(u"حفظ از این آیه…");
inline const QString CaptionNoteMenu = QStringLiteral(u"یادداشت این آیه…");
inline const QString CaptionDueMenu = QStringLiteral(u"مرور امروز");
inline const QString CaptionProgressMenu = QStringLiteral(u"پیشرفت حفظ");
inline const QString CaptionMemoriseStart = QStringLiteral(u"آغاز حفظ");
inline const QString CaptionNoLearnerData = QStringLiteral(u"پرونده حفظ در دسترس نیست.");

// The four states of a page, a soureh or an ayeh.
inline const QString CaptionNotStarted = QStringLiteral(u"آغاز نشده");
inline const QString CaptionLearning = QStringLiteral(u"در حال حفظ");
inline const QString CaptionMemorised = QStringLiteral(u"حفظ شده");
inline const QString CaptionDue = QStringLiteral(u"نیازمند مرور");

// The progress window.
inline const QString CaptionProgressTitle = QStringLiteral(u"پیشرفت حفظ");
inline const QString CaptionByPage = QStringLiteral(u"صفحه‌ها");
inline const QString CaptionBySoureh = QStringLiteral(u"سوره‌ها");
inline const QString CaptionCountOf = QStringLiteral(u"%1: %2");
inline const QString CaptionAyehTotals = QStringLiteral(u"آیه‌ها: %1 حفظ شده، %2 در حال حفظ، %3 نیازمند مرور از %4");
inline const QString CaptionPageCell = QStringLiteral(u"صفحهٔ %1: %2");
inline const QString CaptionSourehCell = QStringLiteral(u"سورهٔ %1: %2");
inline const QString CaptionNotes = QStringLiteral(u"یادداشت‌ها");
inline const QString CaptionNoteLine = QStringLiteral(u"%1، آیه %2: %3");
inline const QString CaptionExport = QStringLiteral(u"برون‌بری CSV…");
inline const QString CaptionImport = QStringLiteral(u"درون‌بری CSV…");
inline const QString CaptionCsvFilter = QStringLiteral(u"پرونده CSV (*.csv)");
inline const QString CaptionCsvDefaultName = QStringLiteral(u"hifz.csv");
inline const QString CaptionExported = QStringLiteral(u"نمره‌ها و یادداشت‌ها در «%1» نوشته شد.");
inline const QString CaptionImported = QStringLiteral(u"%1 نمرهٔ تازه (%2 نمره از پیش بود) و %3 یادداشت خوانده شد.");
inline const QString CaptionExportFailed = QStringLiteral(u"برون‌بری انجام نشد: %1");
inline const QString CaptionImportFailed = QStringLiteral(u"درون‌بری انجام نشد و چیزی تغییر نکرد: %1");
inline const QString CaptionNoPlan = QStringLiteral(u"برنامهٔ حفظ در دسترس نیست.");

// The due list.
inline const QString CaptionDueTitle = QStringLiteral(u"مرور امروز");
inline const QString CaptionDuePage = QStringLiteral(u"صفحه");
inline const QString CaptionDueSoureh = QStringLiteral(u"سوره");
inline const QString CaptionDueAyehs = QStringLiteral(u"آیه‌ها");
inline const QString CaptionDueCount = QStringLiteral(u"شمار");
inline const QString CaptionDueSummary = QStringLiteral(u"%1 آیه در %2 صفحه برای مرور امروز");
inline const QString CaptionNothingDue = QStringLiteral(u"امروز آیه‌ای برای مرور نیست.");
inline const QString CaptionStartReview = QStringLiteral(u"آغاز مرور");
inline const QString CaptionCloseDue = QStringLiteral(u"بستن");
inline const QString CaptionUnknownPage = QStringLiteral(u"—");

// The note dialog and the tooltip.
inline const QString CaptionNoteTitle = QStringLiteral(u"یادداشت %1، آیه %2");
inline const QString CaptionNotePrompt = QStringLiteral(u"اشکال‌هایی که استاد گرفته است:");
inline const QString CaptionSaveNote = QStringLiteral(u"ذخیره");
inline const QString CaptionRemoveNote = QStringLiteral(u"حذف یادداشت");
inline const QString CaptionCancel = QStringLiteral(u"انصراف");
inline const QString CaptionNoteNotSaved = QStringLiteral(u"یادداشت ذخیره نشد: %1");
inline const QString CaptionTooltipNote = QStringLiteral(u"یادداشت: %1");

// The sitting panel.
inline const QString CaptionSittingTitle = QStringLiteral(u"حفظ");
inline const QString CaptionSittingAyeh = QStringLiteral(u"%1، آیه %2 (%3 از %4)");
inline const QString CaptionSittingWords = QStringLiteral(u"%1 از %2 واژه آشکار شده");
inline const QString CaptionSittingEnded = QStringLiteral(u"جلسهٔ حفظ به پایان رسید: %1 آیه نمره گرفت.");
inline const QString CaptionRevealWord = QStringLiteral(u"واژهٔ بعد");
inline const QString CaptionRevealAyeh = QStringLiteral(u"همهٔ آیه");
inline const QString CaptionStepBack = QStringLiteral(u"یک واژه برگرد");
inline const QString CaptionForgot = QStringLiteral(u"فراموش کردم");
inline const QString CaptionHard = QStringLiteral(u"سخت");
inline const QString CaptionGood = QStringLiteral(u"خوب");
inline const QString CaptionEasy = QStringLiteral(u"آسان");
inline const QString CaptionKeyHint = QStringLiteral(u"کلید %1");
inline const QString CaptionEndSitting = QStringLiteral(u"پایان");
inline const QString CaptionGradeNotSaved = QStringLiteral(u"نمره ذخیره نشد و آیه همین‌جا ماند: %1");
// clang-format on
