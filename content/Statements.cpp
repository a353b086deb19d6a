// The fixed statement texts, their translation into the engine's dialect, and the page
// picture's blob framing.
#include "content/Database.h"
#include "content/TextRules.h"

#include <QtEndian>

namespace {

std::string Number(int value) {
    return std::to_string(value);
}

} // namespace

namespace Statements {

std::string SourehList() {
    return " SELECT Soureh.SourehID, Soureh.SourehName  FROM Soureh  ORDER BY Soureh.SourehID ";
}

std::string Soureh(int sourehId) {
    return " SELECT Soureh.SourehID, Soureh.SourehName, Soureh.Maki, Soureh.PageID, Soureh.NumberOfAyeh "
           " FROM Soureh  WHERE (((Soureh.SourehID)= " +
           Number(sourehId) + " ))";
}

std::string AyehList(int sourehId) {
    return " SELECT  Ayeh.AyehID  FROM Ayeh  WHERE (((Ayeh.SourehID)= " + Number(sourehId) + ")) " +
           " ORDER BY Ayeh.AyehID ";
}

std::string Ayeh(int sourehId, int ayehId) {
    return " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID, Ayeh.StartLine, Ayeh.EndLine, Ayeh.StartCol,"
           " Ayeh.EndCol, Ayeh.FarsiTranslation  FROM Ayeh  WHERE (((Ayeh.SourehID)= " +
           Number(sourehId) + " ) AND ((Ayeh.AyehID)= " + Number(ayehId) + " )); ";
}

std::string Page(int pageId) {
    return " SELECT Pages.PageID, Pages.PageBMP, Pages.Joze, Pages.Hezb, Pages.OtherComment "
           " FROM Pages  WHERE (((Pages.PageID)= " +
           Number(pageId) + " )) ";
}

std::string PageAyehs(int pageId) {
    return " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.FarsiTranslation,  Ayeh.StartAyeh,  Ayeh.EndAyeh, "
           " Ayeh.StartLine, Ayeh.EndLine, Ayeh.StartCol, Ayeh.EndCol  FROM Ayeh  WHERE (((Ayeh.PageID)= " +
           Number(pageId) + " )) " + " ORDER BY Ayeh.SourehID, Ayeh.AyehID ";
}

std::string PageLines(int pageId) {
    return " SELECT Lines.LineID, Lines.PageID, Lines.StartRow, Lines.EndRow  FROM Lines "
           " WHERE (((Lines.PageID)=" +
           Number(pageId) + ")) " + " ORDER BY Lines.LineID ";
}

std::string FirstAyeh(int pageId) {
    return " SELECT top 1 Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID      FROM Ayeh  WHERE (((Ayeh.PageID)= " +
           Number(pageId) + " )) " + " ORDER BY Ayeh.SourehID, Ayeh.AyehID; ";
}

std::string Sound(int sourehId, int ayehId, int ghariId) {
    return " SELECT Sounds.SourehID, Sounds.AyehID, Sounds.GhariID, Sounds.Sound "
           " FROM Sounds  WHERE (((Sounds.SourehID)= " +
           Number(sourehId) + " ) AND ((Sounds.AyehID)= " + Number(ayehId) +
           " ) AND ((Sounds.GhariID)= " + Number(ghariId) + " )) ";
}

std::string AyehTranslations() {
    return " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.FarsiTranslation  FROM Ayeh "
           " ORDER BY Ayeh.SourehID, Ayeh.AyehID ";
}

std::string AyehTextTable() {
    return " SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'AyehText' ";
}

std::string AyehTexts() {
    return " SELECT AyehText.SourehID, AyehText.AyehID, AyehText.Text  FROM AyehText "
           " ORDER BY AyehText.SourehID, AyehText.AyehID ";
}

std::string AyehPages() {
    // In the order of the AyehByPage index, which then holds every column asked for: the
    // table's own rows, with their translations, are never read.
    return " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID  FROM Ayeh  ORDER BY Ayeh.PageID, Ayeh.SourehID, "
           "Ayeh.AyehID ";
}

} // namespace Statements

namespace {

using content_detail::IsBlank;
using content_detail::IsDigit;

// Takes `word` (upper case) when it stands at `at` followed by a blank; advances past the
// blanks.
bool TakeWord(std::string_view text, size_t& at, std::string_view word) {
    if (!content_detail::StartsWithNoCase(text, at, word) || at + word.size() >= text.size() ||
        !IsBlank(text[at + word.size()]))
        return false;
    at += word.size();
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return true;
}

} // namespace

std::string TranslateStatement(std::string_view statement) {
    // "SELECT [DISTINCT] TOP n ..." becomes "SELECT [DISTINCT] ... LIMIT n", the limit going
    // before a closing ';'. The limit applies after ORDER BY in both dialects.
    size_t at = 0;
    while (at < statement.size() && IsBlank(statement[at]))
        ++at;
    if (!TakeWord(statement, at, "SELECT"))
        return std::string(statement);
    TakeWord(statement, at, "DISTINCT");
    const size_t topStart = at;
    if (!TakeWord(statement, at, "TOP"))
        return std::string(statement);
    const size_t digitsStart = at;
    while (at < statement.size() && IsDigit(statement[at]))
        ++at;
    if (at == digitsStart || at == statement.size() || !IsBlank(statement[at]))
        return std::string(statement);
    const std::string_view count = statement.substr(digitsStart, at - digitsStart);
    while (at < statement.size() && IsBlank(statement[at]))
        ++at;

    // The end of the statement proper: before trailing blanks and one closing ';'.
    size_t end = statement.size();
    while (end > at && IsBlank(statement[end - 1]))
        --end;
    if (end > at && statement[end - 1] == ';')
        --end;
    while (end > at && IsBlank(statement[end - 1]))
        --end;

    std::string result;
    result.reserve(statement.size() + 8);
    result.append(statement.substr(0, topStart));
    result.append(statement.substr(at, end - at));
    result.append(" LIMIT ");
    result.append(count);
    result.append(statement.substr(end));
    return result;
}

QByteArray BitmapFileInBlob(const QByteArray& blob) {
    if (blob.size() < 8)
        return blob;
    const auto* data = reinterpret_cast<const uchar*>(blob.constData());
    const bool framed = qFromLittleEndian<quint16>(data) == 1 &&
                        qFromLittleEndian<quint16>(data + 2) == 0x0100 &&
                        qFromLittleEndian<quint32>(data + 4) == static_cast<quint64>(blob.size()) - 8;
    return framed ? blob.mid(8) : blob;
}
