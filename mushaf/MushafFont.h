#pragma once
// The fonts the glyphs are drawn with: the installed files the content names, each checked to
// be byte for byte the file the book was set in, since glyph ids mean nothing in another one.

#include "mushaf/MushafStore.h"

#include <QRawFont>
#include <QString>
#include <QStringList>
#include <vector>

// Where Debian's fonts-hosny-amiri installs the font the book is set in.
QString InstalledMushafFontPath();

// SHA-256 of a file's bytes in lower-case hex. Throws MushafError when it cannot be read.
QString FileSha256(const QString& path);

class MushafFonts final {
public:
    // The folders searched for the content's font files, in order, each with its subfolders:
    // fonts-hosny-amiri's, then the system's and the user's font folders.
    static QStringList FontFolders();

    // Finds each font's file in `folders`, checks its SHA-256 and loads it at its size.
    // Throws MushafError saying what is wrong when a file is missing, differs from the
    // content's or is no font. Needs a QGuiApplication.
    static MushafFonts Load(const std::vector<MushafFontInfo>& fonts,
                            const QStringList& folders = FontFolders());

    // By FontID, at the size the glyphs were shaped at.
    const QRawFont& Raw(int font) const { return Fonts.at(size_t(font)); }
    int Count() const { return int(Fonts.size()); }

private:
    explicit MushafFonts(std::vector<QRawFont> fonts) : Fonts(std::move(fonts)) {}
    std::vector<QRawFont> Fonts;
};
