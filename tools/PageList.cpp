#include "tools/PageList.h"

#include "tools/ImportSupport.h"

#include <algorithm>

QList<int> ParsePageList(const QString& text, int lastPage) {
    QList<int> pages;
    const auto number = [&](const QString& part) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || value < 1 || value > lastPage)
            throw ToolError(QStringLiteral("'%1' in the page list '%2' is no page number from 1 to %3")
                                .arg(part.trimmed(), text)
                                .arg(lastPage));
        return value;
    };
    for (const QString& item : text.split(QLatin1Char(','))) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            pages.append(number(item));
            continue;
        }
        const int first = number(item.left(dash));
        const int last = number(item.mid(dash + 1));
        if (last < first)
            throw ToolError(
                QStringLiteral("the range '%1' in the page list runs backwards").arg(item.trimmed()));
        for (int page = first; page <= last; ++page)
            pages.append(page);
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    return pages;
}
