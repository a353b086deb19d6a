#pragma once
// The names and keys the content and the settings are found by: the two content databases
// with their keys, the farewell sound, and the per-user settings of the last position.
// Everything that opens or writes these files takes them from here.

inline constexpr const char* QuranDatabaseFile = "quran.dat";
inline constexpr const char* SoundDatabaseFile = "snd.wav";
inline constexpr const char* FarewellSoundFile = "Tavashih.wav";

// The SQLCipher keys of quran.dat and snd.wav.
inline constexpr const char* QuranDatabaseKey = "qorvektalimsun";
inline constexpr const char* SoundDatabaseKey = "pelmarodistuna";

// Per-user settings: organisation, application and the values of the last position.
inline constexpr const char* SettingsOrganisation = "VelsorHost";
inline constexpr const char* SettingsApplication = "GolvarQuran";
inline constexpr const char* LastSourehValue = "LastSoureh";
inline constexpr const char* LastAyehValue = "LastAyeh";

// Per-user settings: the bookmarks, an array of entries each with an ayeh and the time it
// was marked (ISO 8601, UTC).
inline constexpr const char* BookmarksGroup = "Bookmarks";
inline constexpr const char* BookmarkSourehValue = "SourehID";
inline constexpr const char* BookmarkAyehValue = "AyehID";
inline constexpr const char* BookmarkAddedValue = "Added";

// Per-user settings: the practice last set, read back when the practice dialog opens.
inline constexpr const char* PracticeGroup = "Practice";
inline constexpr const char* PracticeFromSourehValue = "FromSoureh";
inline constexpr const char* PracticeFromAyehValue = "FromAyeh";
inline constexpr const char* PracticeToSourehValue = "ToSoureh";
inline constexpr const char* PracticeToAyehValue = "ToAyeh";
inline constexpr const char* PracticeRoundsValue = "Rounds";
inline constexpr const char* PracticePauseValue = "Pause";
inline constexpr const char* PracticePauseSecondsValue = "PauseSeconds";

// Per-user settings: the choices of a memorisation sitting.
inline constexpr const char* MemoriseGroup = "Memorise";
inline constexpr const char* MemoriseHintValue = "Hint";
inline constexpr const char* MemorisePlayRevealedValue = "PlayRevealed";
