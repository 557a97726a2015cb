#pragma once

// Each window keeps its texts as named UTF-8 constants in one place, each marked with
// QT_TRANSLATE_NOOP in the one context below; this is how it shows one. The Polish text is the
// source text, so with no translation installed it is shown exactly as written.

#include <QCoreApplication>
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
