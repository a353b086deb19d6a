// Replays every input that a fuzzer once failed on (tests/hardening/corpus/<target>/) and the
// fuzzers' seeds (fuzz/seeds/<target>/) through the same entry points the fuzzers use. A fault
// shows as a crash, an abort of the entry's own checks or a sanitizer report (make test-asan).

#include "fuzz/FuzzEntries.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

struct CorpusCase {
    const char* Target;
    void (*Entry)(const std::uint8_t*, std::size_t);
};

class FuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(FuzzCorpus, EveryStoredInputRunsWithoutFault) {
    const CorpusCase& c = GetParam();
    int replayed = 0;
    for (const char* root : {"/tests/hardening/corpus/", "/fuzz/seeds/"}) {
        const QDir folder(QStringLiteral(GOLVAR_SOURCE_DIR) + QString::fromLatin1(root) +
                          QString::fromLatin1(c.Target));
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE(name.toStdString());
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            c.Entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no inputs found for " << c.Target;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FuzzCorpus,
    ::testing::Values(CorpusCase{"page_blob", &golvar_fuzz::PageBlob}, CorpusCase{"wav", &golvar_fuzz::Wav},
                      CorpusCase{"connection_string", &golvar_fuzz::ConnectionStringText},
                      CorpusCase{"filter", &golvar_fuzz::FilterText}),
    [](const auto& testCase) { return std::string(testCase.param.Target); });

} // namespace
