#pragma once
// A quran.dat typeset once per test run from the installed sources, for the tests of
// build-text and verify, and small readers of its rows.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

// The pages the shared build typesets: the opening pages, the first full page, a soureh
// opening with its Bismillah, the first page of a hezb that begins on the page before, the
// one soureh without a Bismillah and the last page with three sourehs.
inline constexpr const char* SharedPages = "1,2,3,50,52,187,604";
inline const QList<int> SharedPageList = {1, 2, 3, 50, 52, 187, 604};

class PrintedMushaf;

// The folder holding the shared build's quran.dat, built on first use; empty (with the
// reason in `why`) when the sources are not installed or the build failed.
QString SharedContentFolder(QString* why);

// A test on the shared build: skipped when the sources are not installed, failed when the
// build fails. Folder is the build's folder, Db its quran.dat.
class SharedContentTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Whether SetUp skipped or failed the test, for the SetUp of a fixture built on this.
    bool Unusable() const { return IsSkipped() || HasFatalFailure(); }

    QString Folder;
    QString Db;
};

// The @saqfish/asim package fetched at set-up, or empty when it is not there.
QString InstalledPrintPackage();
// Its printed lines, read once; null when the package is not installed.
const PrintedMushaf* InstalledPrint();

struct AyehGeometry {
    int Soureh, Ayeh, PageId, StartLine, EndLine, StartCol, EndCol, StartAyeh, EndAyeh;
};

// Rows of the file at `path`; every failure is a test failure.
std::vector<std::vector<QString>> TextRows(const QString& path, const char* sql);
std::vector<AyehGeometry> PageAyehs(const QString& path, int pageId);
QByteArray PageBlob(const QString& path, int pageId);
QImage PagePicture(const QString& path, int pageId);
void ExecuteOn(const QString& path, const QString& sql);
