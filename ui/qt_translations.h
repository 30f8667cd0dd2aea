#pragma once

#include <QTranslator>

class QLocale;

// Qt's own texts (the buttons of message boxes, the file, print and colour dialogs, the
// context menus of text boxes) in a language, for as long as this object lives. The
// program's own texts are Russian as written and need no catalogue.
class QtTranslations {
public:
    explicit QtTranslations(const QLocale &locale);
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Whether a catalogue for the language was found and installed.
    bool installed() const { return m_installed; }

    // Where the installed Qt keeps its catalogues.
    static QString directory();

private:
    QTranslator m_translator;
    bool m_installed = false;
};
