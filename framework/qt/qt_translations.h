// Qt's own texts (the buttons and labels of its file, print and preview dialogs) in the language of
// a locale, the desktop's by default.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace qtbackend {

// Installed for its life in the running QApplication; a locale Qt has no texts for keeps English.
class QtTranslations {
  public:
    explicit QtTranslations(const QLocale& locale = QLocale());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;
    bool Loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace qtbackend
