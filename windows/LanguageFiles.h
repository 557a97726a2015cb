#pragma once

// The built-in files that have a version per language, and the language that picks them.

#include <QFile>
#include <QString>

// The language the game speaks, as its translation's file names it ("en", "en_GB"); empty while
// it speaks Polish, the source language. Set by whoever installs the translation.
inline QString& SpokenLanguage()
{
    static QString language;
    return language;
}

// A built-in file that has a version per language (the help text, the reward picture): the
// spoken language's, pattern's %1 being the language whole, then its first part ("en_GB", "en"),
// when it is built in; the Polish file otherwise, so a language without one shows the Polish.
inline QString LanguageFile(const QString& polish, const QString& pattern)
{
    const QString& language = SpokenLanguage();
    for (const QString& name : {language, language.section(QLatin1Char('_'), 0, 0)})
        if (!name.isEmpty() && QFile::exists(pattern.arg(name)))
            return pattern.arg(name);
    return polish;
}
