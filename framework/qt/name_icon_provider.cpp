// File icons and type names by extension (and, for folders, pipes and devices, the kind of node).
#include "framework/qt/name_icon_provider.h"

#include <QFileInfo>

#include "framework/resources.h"

namespace qtbackend {

QIcon NameIconProvider::icon(const QFileInfo& info) const {
    if (info.isDir()) return QFileIconProvider::icon(info);  // folders are not read either
    const QMimeType type = mimeTypes_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    const QIcon fallback = QFileIconProvider::icon(QAbstractFileIconProvider::File);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
}

// The application's own extensions by the names it gives them; the others, and folders (Qt's own
// names of folders are not translated), by the type database's ("dossier").
QString NameIconProvider::type(const QFileInfo& info) const {
    if (!info.isDir()) {
        const std::wstring own = FileTypeName(info.suffix().toStdWString());
        if (!own.empty()) return QString::fromStdWString(own);
    }
    const QMimeType type = mimeTypes_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

}  // namespace qtbackend
