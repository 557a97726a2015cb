#pragma once

// Which language the game speaks: the first of the player's interface languages that has a
// translation built in, Polish (the source texts, with only their plural forms translated) otherwise.

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace program {

// The built-in translation file for the first of these languages (as QLocale::uiLanguages()
// names them) that has one; Polish's, which holds only its plural forms, when none before
// Polish has one.
QString TranslationFile(const QStringList& uiLanguages);

// Loads into translator the translation for these languages.
bool LoadTranslation(QTranslator& translator, const QStringList& uiLanguages);

// Qt's own translation (its context menus, its standard buttons) for the language the game
// speaks, from Qt's translations folder; empty for English, Qt's source language.
QString QtTranslationFile(const QStringList& uiLanguages);

// The language a translation file speaks, from its name (":/i18n/wirtola_en_GB.qm": "en_GB").
QString FileLanguage(const QString& translationFile);

// The game's translation and Qt's, installed for as long as this lives, and its language the
// one whose help and reward picture the windows show.
class Translations {
public:
    explicit Translations(const QStringList& uiLanguages);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

private:
    QTranslator gameTranslator_;
    QTranslator qtTranslator_;
    bool game_ = false;
    bool qt_ = false;
    QString previousLanguage_;
};

} // namespace program
