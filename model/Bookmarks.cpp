#include "model/Bookmarks.h"

#include "content/ContentKeys.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <algorithm>

namespace {

QSettings Store() {
    return QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication));
}

// A stored whole number of at least 1: an integer, or the text of one as the file keeps it.
bool PositiveNumber(const QVariant& value, int& number) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (value.typeId() == QMetaType::Int)
        number = value.toInt();
    else if (value.typeId() == QMetaType::QString && digits.match(value.toString()).hasMatch())
        number = value.toString().toInt();
    else
        return false;
    return number >= 1;
}

} // namespace

std::vector<TBookmark> ReadBookmarks() {
    QSettings settings = Store();
    if (settings.status() != QSettings::NoError)
        return {};
    // Entries are found by their group names, not by the array's size, so that a damaged size
    // loses none of them.
    std::vector<std::pair<int, TBookmark>> stored;
    settings.beginGroup(QString::fromLatin1(BookmarksGroup));
    for (const QString& name : settings.childGroups()) {
        bool numbered = false;
        const int index = name.toInt(&numbered);
        if (!numbered)
            continue;
        settings.beginGroup(name);
        TBookmark bookmark;
        const bool whole =
            PositiveNumber(settings.value(QString::fromLatin1(BookmarkSourehValue)), bookmark.SourehID) &&
            PositiveNumber(settings.value(QString::fromLatin1(BookmarkAyehValue)), bookmark.AyehID);
        const QVariant added = settings.value(QString::fromLatin1(BookmarkAddedValue));
        if (added.typeId() == QMetaType::QString)
            bookmark.Added = QDateTime::fromString(added.toString(), Qt::ISODateWithMs);
        settings.endGroup();
        if (whole && bookmark.Added.isValid())
            stored.emplace_back(index, bookmark);
    }
    std::stable_sort(stored.begin(), stored.end(), [](const auto& a, const auto& b) {
        return a.second.Added != b.second.Added ? a.second.Added > b.second.Added : a.first < b.first;
    });
    // An ayeh marked twice (only a hand-edited file holds that) keeps its newest mark.
    std::vector<TBookmark> list;
    for (const auto& entry : stored)
        if (!IsBookmarked(list, entry.second.SourehID, entry.second.AyehID))
            list.push_back(entry.second);
    return list;
}

bool WriteBookmarks(const std::vector<TBookmark>& list) {
    QSettings settings = Store();
    if (settings.status() != QSettings::NoError)
        return false;
    const QString group = QString::fromLatin1(BookmarksGroup);
    settings.remove(group);
    settings.beginWriteArray(group, int(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        settings.setArrayIndex(int(i));
        settings.setValue(QString::fromLatin1(BookmarkSourehValue), list[i].SourehID);
        settings.setValue(QString::fromLatin1(BookmarkAyehValue), list[i].AyehID);
        settings.setValue(QString::fromLatin1(BookmarkAddedValue),
                          list[i].Added.toUTC().toString(Qt::ISODateWithMs));
    }
    settings.endArray();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool IsBookmarked(const std::vector<TBookmark>& list, int sourehId, int ayehId) {
    return std::any_of(list.begin(), list.end(), [&](const TBookmark& bookmark) {
        return bookmark.SourehID == sourehId && bookmark.AyehID == ayehId;
    });
}

namespace {

// Takes the ayeh's mark out of list; false when it had none.
bool TakeOut(std::vector<TBookmark>& list, int sourehId, int ayehId) {
    return std::erase_if(list, [&](const TBookmark& bookmark) {
               return bookmark.SourehID == sourehId && bookmark.AyehID == ayehId;
           }) > 0;
}

} // namespace

bool ToggleBookmark(int sourehId, int ayehId, const QDateTime& added) {
    std::vector<TBookmark> list = ReadBookmarks();
    if (!TakeOut(list, sourehId, ayehId))
        list.insert(list.begin(), TBookmark{sourehId, ayehId, added});
    return WriteBookmarks(list);
}

bool RemoveBookmark(int sourehId, int ayehId) {
    std::vector<TBookmark> list = ReadBookmarks();
    TakeOut(list, sourehId, ayehId);
    return WriteBookmarks(list);
}
