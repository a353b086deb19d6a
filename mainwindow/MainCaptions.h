#pragma once
// The main window's captions and texts. Kept byte for byte: the Arabic letters yeh and kaf
// stand where Persian usually has its own.
#include <QString>

inline const QString CaptionMainForm =
    QStringLiteral(u"نرم افزار قرآني گلوار 3/3 ( آموزش چند رسانه اي قرآن كريم )");
inline const QString CaptionPlay = QStringLiteral(u"قرائت آيه");
inline const QString CaptionPause = QStringLiteral(u"مكث");
inline const QString CaptionContinue = QStringLiteral(u"ادامه");
inline const QString CaptionClose = QStringLiteral(u"خروج");
inline const QString CaptionAyeh = QStringLiteral(u"آيه");
inline const QString CaptionRepeat = QStringLiteral(u"تكرار");
inline const QString CaptionClickHint = QStringLiteral(u"براي قرائت هر آيه روي آن در صفحه زير كليك كنيد.");
inline const QString CaptionPage = QStringLiteral(u"صفحه");
inline const QString CaptionGo = QStringLiteral(u"برو");
