// For the bus test (tests/session/atspi_round.py): what each card should say and show, from the
// card names and the image set, apart from the card control that the game puts on the screen.
// "card_reference <folder>" prints the 52 faces, then the back: the accessible name and a file
// written in <folder>, 71 x 96 pixels 0xAARRGGBB, little-endian, top row first, alpha 0 where
// the paint gives the window's colour.

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "cards/CardSet.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdio>

int main(int argc, char** argv)
{
    const QDir folder(argc > 1 ? argv[1] : ".");
    for (int i = 0; i <= 52; ++i) {
        // The image set lists the faces in suit order, then the backs; the game shows the first.
        const QString name = CardAccessibleName(i == 52, i % 13 + 1, static_cast<TCardSuit>(i / 13));
        const QString image = QString::fromStdString(cards::CardNames()[static_cast<std::size_t>(i)]);
        const QImage one = ComposeCardImage(image, Qt::white);
        const QImage other = ComposeCardImage(image, Qt::red);
        QByteArray pixels;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const auto pixel = qToLittleEndian(one.pixel(x, y) == other.pixel(x, y) ? one.pixel(x, y) : 0U);
                pixels.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
            }
        QFile file(folder.filePath(image + ".argb"));
        if (!file.open(QIODevice::WriteOnly) || file.write(pixels) != pixels.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        std::printf("%s\t%s\n", qPrintable(name), qPrintable(file.fileName()));
    }
}
