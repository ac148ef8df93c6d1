// The file dialogs' icons and type names, taken from the file names only (the application's own
// names for its extensions).
#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace qtbackend {

// Qt's own provider reads the start of every file whose name does not tell its type: listing a
// folder like /proc then blocks on a file that never answers. This one never opens a file.
class NameIconProvider : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

  private:
    QMimeDatabase mimeTypes_;
};

}  // namespace qtbackend
