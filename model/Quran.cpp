#include "model/Quran.h"

#include <QCoreApplication>
#include <utility>

std::unique_ptr<TQuran> GlobalQuran;

TQuran::TQuran(IPageNoEdit* pageNoEdit, IScrollBox* scrollBox, IPageImage* image, AudioPlayer* player)
    : Sounds(std::make_unique<TSoundCache>(player)) {
    try {
        ScrollBox = scrollBox;
        PageNoEdit = pageNoEdit;
        Image = image;
        Player = player;
        if (Player)
            Player->SetNotify(true);
        QuranConnection = std::make_unique<Connection>(QuranConnectionString);
        SoundConnection = std::make_unique<Connection>(SoundConnectionString);
        SetSoureh(std::make_unique<TSoureh>(this, 1));
        GhariID = 0;
    } catch (...) {
        Release();
        throw;
    }
}

TQuran::~TQuran() {
    Release();
}

// Each step is harmless for a part that is not there yet, so a failed construction uses it too.
void TQuran::Release() noexcept {
    QuranConnection.reset();
    Soureh.reset();
    Page.reset();
    if (Player) {
        try {
            Player->Close();
        } catch (const std::exception&) {
        }
        Player->SetEnabled(false);
    }
    Sounds.reset();
    SoundConnection.reset();
}

TSoureh* TQuran::SelectSoureh(int sourehId) {
    SetSoureh(std::make_unique<TSoureh>(this, sourehId));
    return Soureh.get();
}

std::optional<QStringList> TQuran::GetSourehList() {
    ResultSet query(*QuranConnection, Statements::SourehList());
    if (query.RecordCount() == 0)
        return std::nullopt;
    QStringList list;
    for (query.First(); !query.Eof(); query.Next())
        list << QString::number(query.FieldByName("SourehID").AsInteger()) + QStringLiteral("- ") +
                    query.FieldByName("SourehName").AsString();
    return list;
}

void TQuran::GoToPage(int pageId) {
    SetPage(std::make_unique<TQuranPage>(this, pageId));
}

void TQuran::SetPage(std::unique_ptr<TQuranPage> page) {
    if (Page && Page->PageID == page->PageID)
        return; // the new page is released; the display keeps what it shows
    Page = std::move(page);
    Page->Show();
}

void TQuran::SetSoureh(std::unique_ptr<TSoureh> soureh) {
    if (Soureh && Soureh->SourehID == soureh->SourehID)
        return;
    Soureh = std::move(soureh);
}

QString TQuran::PrepareSound(int sourehId, int ayehId, bool processPending) {
    // The cache runs the events itself; the book is gone with it, so nothing here is touched
    // after them.
    return Sounds->Prepare(*SoundConnection, GhariID, sourehId, ayehId, processPending);
}

void TQuran::LoadSound(const QString& path) {
    Sounds->Load(path);
}

void TQuran::QueueSound(int sourehId, int ayehId) {
    Sounds->Queue(*SoundConnection, GhariID, sourehId, ayehId);
}

void TQuran::DropQueuedSound() {
    Sounds->DropQueued();
}

bool TQuran::AdoptSound(const QString& path) {
    return Sounds->Adopt(path);
}

void TQuran::PlayBismillah() {
    const auto alive = Watch();
    const quint64 recitation = Recitations;
    const TAyeh* ayeh = Soureh ? Soureh->Ayeh.get() : nullptr;
    const auto ayehAlive = ayeh ? ayeh->Watch() : std::weak_ptr<const void>();
    const QString path = PrepareSound(0, 0, true);
    // A choice made while the events ran wins: the Bismillah of a released ayeh, or of one
    // whose recitation another has replaced, is not played.
    if (alive.expired() || Recitations != recitation || (ayeh && ayehAlive.expired()))
        return;
    try {
        if (!AdoptSound(path))
            LoadSound(path);
        if (Player->Mode() != pmPaused) // begun from the queue and paused there by the user
            Player->Play();
        AwaitedPlay = Player->CurrentPlay();
        Player->SetNotify(true);
    } catch (const std::exception&) {
        Player->Close();
    }
}

void TQuran::ReopenSoundDatabase() {
    auto reopened = std::make_unique<Connection>(SoundConnectionString);
    if (Player)
        Player->Close();
    Sounds->DropQueued();
    Sounds->Forget();
    SoundConnection = std::move(reopened);
}

std::map<int, QString> TQuran::GetReciterNames() {
    std::map<int, QString> names;
    try {
        const ResultSet table(*SoundConnection,
                              "SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'Reciters'");
        if (table.RecordCount() == 0)
            return names;
        ResultSet query(*SoundConnection, "SELECT GhariID, Name FROM Reciters ORDER BY GhariID");
        for (query.First(); !query.Eof(); query.Next()) {
            const Field name = query.FieldByName("Name");
            if (name.IsNull())
                continue;
            const QString text = name.AsString();
            if (!text.isEmpty())
                names[query.FieldByName("GhariID").AsInteger()] = text;
        }
    } catch (const ContentError&) {
        // The table is optional: one that cannot be read names nobody.
        names.clear();
    }
    return names;
}
