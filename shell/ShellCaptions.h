#pragma once
// The information windows' captions and texts. Kept byte for byte: the Arabic letters yeh and
// kaf stand where Persian usually has its own, and tests compare against these.
#include <QString>

inline const QString CaptionDonateFunds = QStringLiteral(u"فرم اهداء كمكهاي نقدي شما");
inline const QString CaptionAboutVelsorHost = QStringLiteral(u"درباره ولسورهاست");
inline const QString CaptionMessageBox = QStringLiteral(u"نرم افزار قرآني گلوار");
inline const QString CaptionPageRange =
    QStringLiteral(u"كاربر گرامي، تعداد كل صفحات قرآن كريم 604 صفحه مي باشد.");
inline const QString CaptionAccept = QStringLiteral(u"قبول");
