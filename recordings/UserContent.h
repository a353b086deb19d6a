#pragma once
// The per-user content folder, XDG_DATA_HOME/VelsorHost/GolvarQuran (by default under
// ~/.local/share). The reader's window keeps the user's own snd.wav there, made by an import
// or a renaming from the snd.wav in use, beside links to the quran.dat and farewell sound in
// use (they do not change, so they are not copied). While the folder holds a snd.wav the
// launcher starts the reader in it; removing the folder returns to the installed content.
// The launcher (packaging/golvar-quran.sh.in) finds the folder by the same rule.

#include <QString>

// The folder, whether or not it exists: XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share, followed by VelsorHost/GolvarQuran.
QString UserContentFolder();

// Makes `folder` and points its quran.dat and farewell sound at `quranFile` and
// `farewellFile` (their final targets, through any links). A name that holds a file of its
// own is left alone, as is a name whose file in use does not exist. Throws ToolError.
void PrepareUserContentFolder(const QString& folder, const QString& quranFile, const QString& farewellFile);
