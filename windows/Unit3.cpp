#include "windows/Unit3.h"

#include "windows/Colours.h"
#include "windows/Desktop.h"
#include "windows/Text.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Podanie");
constexpr const char* Plea = QT_TRANSLATE_NOOP("Wirtola", "Wspomóż sługę Twego stosownym funduszem");
constexpr const char* Address = QT_TRANSLATE_NOOP("Wirtola", "Wielce Miłościwy Panie");
constexpr const char* Amen = QT_TRANSLATE_NOOP("Wirtola", "A&men");
const QColor Yellow{255, 255, 0};

// An olive panel with a lowered inner bevel of width 2: two rings, shadow at top and left,
// highlight at bottom and right.
class LoweredPanel : public QWidget {
public:
    explicit LoweredPanel(QWidget* parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), colours::Olive);
        const QColor shadow = palette().color(QPalette::Dark);
        const QColor highlight = palette().color(QPalette::Light);
        QRect ring = rect();
        for (int i = 0; i < 2; ++i) {
            painter.setPen(shadow);
            painter.drawLine(ring.topLeft(), ring.topRight());
            painter.drawLine(ring.topLeft(), ring.bottomLeft());
            painter.setPen(highlight);
            painter.drawLine(ring.bottomLeft(), ring.bottomRight());
            painter.drawLine(ring.topRight(), ring.bottomRight());
            ring.adjust(1, 1, -1, -1);
        }
    }
};

// A lowered frame bevel; at 3 px high it reads as an engraved horizontal rule.
class FrameBevel : public QWidget {
public:
    explicit FrameBevel(QWidget* parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int right = width() - 1;
        const int bottom = height() - 1;
        // The highlight ring one pixel in, then the shadow ring over it from the corner.
        DrawRing(painter, QRect(QPoint(1, 1), QPoint(right, bottom)), palette().color(QPalette::Light));
        DrawRing(painter, QRect(QPoint(0, 0), QPoint(right - 1, bottom - 1)), palette().color(QPalette::Dark));
    }

private:
    static void DrawRing(QPainter& painter, const QRect& ring, const QColor& colour)
    {
        painter.setPen(colour);
        painter.drawRect(ring.adjusted(0, 0, -1, -1));
    }
};

QLabel* MakeStaticText(QWidget* parent, const char* text, const QRect& geometry)
{
    auto* label = new QLabel(Text(text), parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(Text(Caption));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont formFont("MS Sans Serif");
    formFont.setBold(true);
    formFont.setPixelSize(16);
    setFont(formFont);
    QPalette formPalette = palette();
    formPalette.setColor(QPalette::Window, formPalette.color(QPalette::Button));
    formPalette.setColor(QPalette::WindowText, Yellow);
    setPalette(formPalette);

    Panel1 = new LoweredPanel(this);
    Panel1->setGeometry(0, 0, 455, 110);
    Bevel1 = new FrameBevel(Panel1);
    Bevel1->setGeometry(38, 53, 379, 3);
    StaticText1 = MakeStaticText(Panel1, Plea, QRect(6, 10, 389, 24));
    StaticText2 = MakeStaticText(Panel1, Address, QRect(6, 30, 200, 24));

    btnAmen = new QPushButton(Text(Amen), Panel1);
    btnAmen->setGeometry(179, 71, 78, 22);
    QFont buttonFont("MS Sans Serif");
    buttonFont.setBold(true);
    buttonFont.setPixelSize(12);
    btnAmen->setFont(buttonFont);
    // The button keeps the usual text colour; only the petition's texts are yellow.
    QPalette buttonPalette = btnAmen->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
        buttonPalette.setColor(role, QApplication::palette().color(role));
    btnAmen->setPalette(buttonPalette);
    connect(btnAmen, &QPushButton::clicked, this, [this] { done(1); });

    // The window is exactly the panel.
    setFixedSize(Panel1->size());
}

void TForm3::FormActivate()
{
    for (QLabel* text : {StaticText1, StaticText2}) {
        text->resize(Panel1->width() - 4, text->height());
        text->setAlignment(Qt::AlignCenter);
    }
    const desktop::Metrics screen = desktop::Current();
    move(screen.width - desktop::OuterWidth(*this) - 100, screen.top);
}

bool TForm3::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TForm3::showEvent(QShowEvent* event)
{
    // Placing before the window maps keeps it from appearing elsewhere first and then jumping.
    FormActivate();
    QDialog::showEvent(event);
}
