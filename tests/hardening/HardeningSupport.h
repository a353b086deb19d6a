#pragma once
// A book on the fixture content whose two content files are fingerprinted when the book is
// opened and compared again at the end of every test: whatever a case does to the reader, the
// files it reads must come out byte for byte as they went in.

#include "tests/model/ModelTestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <map>

inline QByteArray Sha256Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

class HardeningTest : public ModelTest {
protected:
    // Writes the fixture content (with extra rows or damage applied by the caller) and
    // remembers the files as they are now.
    void CreateContent(const FixtureBook::Extra& extra = {}) {
        ASSERT_TRUE(Dir.isValid());
        FixtureBook::Create(Dir.path(), extra);
        Fingerprint();
    }
    void Fingerprint() {
        for (const char* name : {"quran.dat", "snd.wav"})
            Hashes[name] = Sha256Of(Dir.filePath(QString::fromLatin1(name)));
    }
    // A book on the content as it is now, with the fakes of ModelTest as its controls.
    void OpenExisting() {
        Cwd.emplace(Dir.path());
        Book = std::make_unique<TQuran>(&PageNo, &Scroll, &Image, &Player);
        Book->Sounds->Folder = CacheFolder();
        Book->Sounds->ErrorBox = &Errors;
        Book->GhariID = 1;
    }
    void TearDown() override {
        ModelTest::TearDown();
        for (const auto& [name, hash] : Hashes)
            EXPECT_EQ(Sha256Of(Dir.filePath(QString::fromLatin1(name))), hash) << name << " changed";
    }

    std::map<std::string, QByteArray> Hashes;
};

// Another program holding a content file open for writing for the life of the object.
class OtherWriter final {
public:
    OtherWriter(const QString& path, const char* key, const char* sql) {
        Process.start(QStringLiteral(CONTENT_LOCK_HOLDER),
                      {path, QString::fromLatin1(key), QString::fromLatin1(sql)});
        Process.waitForReadyRead(10000);
        Reply = Process.readAll().trimmed();
    }
    ~OtherWriter() {
        Process.closeWriteChannel();
        Process.waitForFinished(10000);
    }
    QByteArray Reply;

private:
    QProcess Process;
};
