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
