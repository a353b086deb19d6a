#pragma once
// A quran.dat typeset once per test run from the installed sources, for the tests of
// build-text and verify, and small readers of its rows.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>
#include <vector>

// The pages the shared build typesets: the opening pages, a page inside a long soureh and
// the last page with its three sourehs.
inline constexpr const char* SharedPages = "1,2,50,604";

// The folder holding the shared build's quran.dat, built on first use; empty (with the
// reason in `why`) when the sources are not installed or the build failed.
QString SharedContentFolder(QString* why);

struct AyehGeometry {
    int Soureh, Ayeh, PageId, StartLine, EndLine, StartCol, EndCol, StartAyeh, EndAyeh;
};

// Rows of the file at `path`; every failure is a test failure.
std::vector<std::vector<QString>> TextRows(const QString& path, const char* sql);
std::vector<AyehGeometry> PageAyehs(const QString& path, int pageId);
QByteArray PageBlob(const QString& path, int pageId);
QImage PagePicture(const QString& path, int pageId);
void ExecuteOn(const QString& path, const QString& sql);
