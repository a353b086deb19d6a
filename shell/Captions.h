#pragma once
// The information windows' texts, byte for byte as the product shows them.
#include <QString>

inline const QString CaptionDonateFunds = QStringLiteral(u"فرم اهداء كمكهاي نقدي شما");
inline const QString CaptionAboutVelsorHost = QStringLiteral(u"درباره ولسورهاست");
inline const QString CaptionMessageBox = QStringLiteral(u"نرم افزار قرآني گلوار");
inline const QString CaptionPageRange = QStringLiteral(u"كاربر گرامي، تعداد كل صفحات قرآن كريم 604 صفحه مي باشد.");
inline const QString CaptionAccept = QStringLiteral(u"قبول");
