#pragma once
// The per-user content folder, XDG_DATA_HOME/VelsorHost/GolvarQuran (by default under
// ~/.local/share). It holds the user's own snd.wav, made by the reader's window at the first
// import or renaming, beside links to the quran.dat and farewell sound in use (they do not
// change, so they are not copied). Every change of the user's recordings goes into that one
// file, starting from it once it exists; which content the reader starts on is decided here
// too (EnterContentFolder), so that `make run` and the installed launcher agree.

#include <QString>

// The folder, whether or not it exists: XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share, followed by VelsorHost/GolvarQuran.
QString UserContentFolder();
// The user's own snd.wav in that folder, whether or not it exists.
QString UserSoundFile();

// Makes `folder` and points its quran.dat and farewell sound at `quranFile` and
// `farewellFile` (their final targets, through any links). A name that holds a file of its
// own is left alone, as is a name whose file in use does not exist. Throws ToolError.
void PrepareUserContentFolder(const QString& folder, const QString& quranFile, const QString& farewellFile);

// What a change of the user's recordings starts from: the user's own snd.wav when it exists,
// else `inUse`, the snd.wav the reader reads. Ask it while holding the file's ChangeLock, so
// that a change another reader made meanwhile is read, not undone.
QString ChangeSource(const QString& inUse);
// Whether `inUse` is the user's own snd.wav (the same file, whatever the path's links).
bool IsUserSound(const QString& inUse);

// Enters the content folder the reader starts on and returns it. A folder the user `named`
// (the launcher's --content, or the working folder of a reader started by hand) is read as it
// stands. Otherwise `folder` is the content the reader would use, and when the user's own
// snd.wav exists the reader starts on it instead: in the per-user folder, linked to
// `folder`'s quran.dat and farewell sound. Either way the copies that interrupted changes left
// beside the user's snd.wav are removed first, unless a change is running. Throws ToolError
// when the folder cannot be entered.
QString EnterContentFolder(const QString& folder, bool named);
