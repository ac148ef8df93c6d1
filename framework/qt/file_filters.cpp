// File-dialog filters converted to Qt's name filters.
#include "framework/qt/file_filters.h"

namespace qtbackend {

QStringList QtNameFilters(const std::vector<std::pair<std::wstring, std::wstring>>& filters) {
    QStringList out;
    for (const auto& [label, pattern] : filters) {
        QStringList patterns;
        for (QString p :
             QString::fromStdWString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
            if (!p.isEmpty()) patterns.append(p);
        }
        if (patterns.isEmpty()) patterns.append(QStringLiteral("*"));
        out.append(QString::fromStdWString(label) + QStringLiteral(" (") +
                   patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return out;
}

}  // namespace qtbackend
