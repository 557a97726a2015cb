#pragma once

// Each window keeps its texts as named UTF-8 constants in one place; this is how it shows one.

#include <QString>

inline QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
