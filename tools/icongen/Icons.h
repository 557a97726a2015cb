#pragma once

// The program's icon: a small fan of our own cards, drawn pixel by pixel at the two smallest
// sizes (where a scaled picture would be a blur) and from the card images above them.

#include <QImage>
#include <QString>

#include <array>

namespace icongen {

inline constexpr std::array<int, 6> Sizes{16, 32, 48, 64, 128, 256};
inline constexpr const char* IconName = "pl.wirtola.Wirtola";

// The icon at one of Sizes, 32-bit with alpha; throws for any other size.
QImage DrawIcon(int size);

// The committed place of one size below a folder: "<size>x<size>/pl.wirtola.Wirtola.png".
QString IconPath(const QString& folder, int size);

// Writes every size below the folder; throws when a file cannot be written.
void WriteIcons(const QString& folder);

// Every size side by side at its own size, and the three smallest again enlarged.
QImage ContactSheet();

} // namespace icongen
