#pragma once

// Each window keeps its texts as named UTF-8 constants in one place, each marked with
// QT_TRANSLATE_NOOP in the one context below; this is how it shows one. The Polish text is the
// source text, so with no translation installed it is shown exactly as written.

#include <QCoreApplication>
#include <QFile>
#include <QString>

inline QString Text(const char* utf8)
{
    return QCoreApplication::translate("Wirtola", utf8);
}

// A text marked with QT_TRANSLATE_N_NOOP that changes with a count: its %n is the count, and the
// count picks the language's plural form ("1 rozdanie", "2 rozdania", "5 rozdań"). Polish has its
// forms in a translation of its own, which holds nothing else.
inline QString Text(const char* utf8, int count)
{
    return QCoreApplication::translate("Wirtola", utf8, nullptr, count);
}

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
