#pragma once

// Which language the game speaks: the first of the player's interface languages that has a
// translation built in, Polish (the source texts, no translation) otherwise.

#include <QString>
#include <QStringList>

class QTranslator;

namespace session {

// The built-in translation file for the first of these languages (as QLocale::uiLanguages()
// names them) that has one; empty for Polish, which is the source, and when none has one.
QString TranslationFile(const QStringList& uiLanguages);

// Loads into translator the translation for these languages; false (Polish) when there is none.
bool LoadTranslation(QTranslator& translator, const QStringList& uiLanguages);

} // namespace session
