#pragma once
// The --pages option of the commands that work on some pages only.

#include <QList>
#include <QString>

// A page list such as "1,2,50,604" or "1-10,604": the page numbers, sorted, each once, all
// within 1..lastPage. Throws ToolError when the list is malformed or out of range.
QList<int> ParsePageList(const QString& text, int lastPage);
