#include "reading/ReaderSettings.h"

#include "content/ContentKeys.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <algorithm>

namespace {

QSettings Store() {
    return QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication));
}

// One stored position value. A value that is there but is not a whole 32-bit number is of
// another type.
int ReadStoredInteger(const QSettings& settings, const QString& name) {
    const QVariant value = settings.value(name);
    if (!value.isValid())
        throw ReaderSettingsError(QStringLiteral("Failed to get data for '%1'").arg(name).toStdString());
    bool ok = false;
    int number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
        number = value.toInt(&ok);
        break;
    case QMetaType::QString: {
        static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
        const QString text = value.toString();
        if (integer.match(text).hasMatch())
            number = text.toInt(&ok);
        break;
    }
    default:
        break;
    }
    if (!ok)
        throw ReaderSettingsError(QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
    return number;
}

// Whether the store holds only what the reader keeps beside the position (bookmarks, the
// practice): then no position has been stored yet, as after a first run that ended before
// its window was closed.
bool HoldsOnlyReadingAids(const QSettings& settings) {
    const QStringList keys = settings.allKeys();
    const QString bookmarks = QString::fromLatin1(BookmarksGroup) + u'/';
    const QString practice = QString::fromLatin1(PracticeGroup) + u'/';
    return !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return key.startsWith(bookmarks) || key.startsWith(practice);
    });
}

} // namespace

TReadingPosition TReaderSettings::ReadLastPosition() const {
    const QSettings settings = Store();
    if (!QFileInfo::exists(settings.fileName()) || settings.status() != QSettings::NoError ||
        HoldsOnlyReadingAids(settings))
        return {};
    TReadingPosition position;
    position.SourehID = ReadStoredInteger(settings, QString::fromLatin1(LastSourehValue));
    position.AyehID = ReadStoredInteger(settings, QString::fromLatin1(LastAyehValue));
    return position;
}

void TReaderSettings::WriteLastPosition(int sourehId, int ayehId) {
    QSettings settings = Store();
    settings.setValue(LastSourehValue, sourehId);
    settings.setValue(LastAyehValue, ayehId);
    settings.sync();
}

PracticePlan TReaderSettings::ReadPracticePlan() const {
    return ::ReadPracticePlan(Store());
}

void TReaderSettings::WritePracticePlan(const PracticePlan& plan) {
    QSettings settings = Store();
    ::WritePracticePlan(settings, plan);
    settings.sync();
}

std::vector<TBookmark> TReaderSettings::Bookmarks() const {
    return ReadBookmarks();
}

bool TReaderSettings::IsBookmarked(int sourehId, int ayehId) const {
    return ::IsBookmarked(ReadBookmarks(), sourehId, ayehId);
}

bool TReaderSettings::ToggleBookmark(int sourehId, int ayehId, const QDateTime& added) {
    return ::ToggleBookmark(sourehId, ayehId, added);
}

bool TReaderSettings::RemoveBookmark(int sourehId, int ayehId) {
    return ::RemoveBookmark(sourehId, ayehId);
}
