#pragma once
// The Persian texts of the Mushaf view and its legend window.

#include <QString>

// clang-format off

inline const QString CaptionMushafView = QStringLiteral("نمای مصحف");
inline const QString CaptionNightPage = QStringLiteral("صفحهٔ شب");
inline const QString CaptionTajweedColours = QStringLiteral("رنگ‌های تجوید");
inline const QString CaptionTajweedLegend = QStringLiteral("راهنمای رنگ‌های تجوید");
inline const QString CaptionZoomIn = QStringLiteral("بزرگ‌نمایی");
inline const QString CaptionZoomOut = QStringLiteral("کوچک‌نمایی");
inline const QString CaptionFit = QStringLiteral("اندازهٔ پنجره");
inline const QString CaptionCloseView = QStringLiteral("بستن نمای مصحف");
inline const QString CaptionLegendColour = QStringLiteral("رنگ");
inline const QString CaptionLegendRule = QStringLiteral("حکم");
inline const QString CaptionLegendExample = QStringLiteral("نمونه");
// The margins: the juz's number and the page's.
inline const QString CaptionJuz = QStringLiteral("جزء %1");
// The accessible names: a page by its number, an ayeh by its soureh and number.
inline const QString CaptionPageName = QStringLiteral("صفحهٔ %1");
inline const QString CaptionAyehName = QStringLiteral("سورهٔ %1، آیهٔ %2");
// Shown above the pages when they are pictures.
inline const QString NoteOldContent = QStringLiteral(u"این محتوا با ابزاری قدیمی ساخته شده است؛ برای صفحه‌های روشن، آن را دوباره بسازید.");
inline const QString NoteNoFont = QStringLiteral(u"قلم مصحف نصب نیست یا با قلم محتوا یکی نیست؛ صفحه‌ها به صورت تصویر نمایش داده می‌شوند.");

// clang-format on
