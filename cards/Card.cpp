#include "cards/Card.h"

#include "cards/CardNames.h"
#include "cards/CardSet.h"
#include "engine/Random.h"

#include <QAccessible>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QResource>
#include <QTimer>

#include <cmath>
#include <stdexcept>

namespace {

constexpr std::array<QPoint, 4> Corners{QPoint(0, 0), QPoint(70, 0), QPoint(0, 95), QPoint(70, 95)};

std::runtime_error NotFound(const QString& name)
{
    return std::runtime_error("Resource " + name.toStdString() + " not found");
}

QString NoParentMessage(const QString& control)
{
    return QStringLiteral("Control '%1' has no parent window").arg(control);
}

CardAnnouncer announcer = nullptr;

void Announce(QAccessibleEvent* event)
{
    if (announcer)
        announcer(event);
    else
        QAccessible::updateAccessibility(event);
}

} // namespace

void SetCardAnnouncer(CardAnnouncer a)
{
    announcer = a;
}

QImage LoadCardImage(const QString& name)
{
    // Only the set's own names reach the resource system, so no other name can find a file.
    if (!cards::IsCardName(name.toStdString()))
        throw NotFound(name);
    const QResource resource(QStringLiteral(":/cards/%1.bmp").arg(name));
    if (!resource.isValid())
        throw NotFound(name);
    QByteArray unpacked;
    std::span<const std::uint8_t> bytes(resource.data(), static_cast<std::size_t>(resource.size()));
    if (resource.compressionAlgorithm() != QResource::NoCompression) {
        unpacked = resource.uncompressedData();
        bytes = {reinterpret_cast<const std::uint8_t*>(unpacked.constData()),
                 static_cast<std::size_t>(unpacked.size())};
    }
    const std::optional<cards::Bitmap8> bitmap = cards::DecodeBmp(bytes);
    if (!bitmap || bitmap->width != cards::CardWidth || bitmap->height != cards::CardHeight)
        throw std::runtime_error("Resource " + name.toStdString() + " is not a card image");

    QImage image(bitmap->width, bitmap->height, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(bitmap->palette.begin(), bitmap->palette.end()));
    for (int y = 0; y < bitmap->height; ++y)
        std::copy_n(bitmap->indices.data() + static_cast<std::ptrdiff_t>(y) * bitmap->width, bitmap->width,
                    image.scanLine(y));
    return image;
}

QImage ComposeCardImage(const QString& name, QColor fill)
{
    // Filling the picture before it is drawn gives the same pixels as filling the surface
    // after: the picture covers the whole control.
    QImage picture = LoadCardImage(name).convertToFormat(QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<std::uint32_t*>(picture.bits());
    const std::ptrdiff_t stride = picture.bytesPerLine() / 4;
    for (QPoint corner : Corners)
        cards::FloodFillBoundedByBlack(pixels, picture.width(), picture.height(), stride, corner.x(), corner.y(),
                                       fill.rgb());
    return picture;
}

QImage ScaleForRatio(const QImage& picture, qreal ratio)
{
    const int factor = std::isfinite(ratio) ? static_cast<int>(std::floor(ratio)) : 1;
    if (factor < 2)
        return picture;
    QImage scaled = picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(factor);
    return scaled;
}

TCard::TCard(QWidget* owner)
    : QWidget(owner)
    , owner_(owner)
{
    resize(CardWidth, CardHeight);
    // The owner destroys the card even after setParent has handed it to another window.
    if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
    announcedName_ = AccessibleName();
    announcedDescription_ = AccessibleDescription();
    engine::RandomizeFromClock();
}

QString TCard::ImageName() const
{
    if (showDeck_) {
        const auto deck = static_cast<std::size_t>(deckType_);
        return deck < cards::BackNames.size() ? QString::fromLatin1(cards::BackNames[deck]) : QString();
    }
    const auto suit = static_cast<std::size_t>(suit_);
    const QString letter =
        suit < cards::SuitLetters.size() ? QString(QLatin1Char(cards::SuitLetters[suit])) : QString();
    return letter + QString::number(value_);
}

void TCard::SetValue(std::uint8_t value)
{
    value_ = std::clamp<std::uint8_t>(value, 1, 13);
    AccessibleTextMayChange();
    RepaintNow();
}

void TCard::SetSuit(TCardSuit suit)
{
    suit_ = suit;
    AccessibleTextMayChange();
    RepaintNow();
}

void TCard::SetShowDeck(bool showDeck)
{
    showDeck_ = showDeck;
    AccessibleTextMayChange();
    RepaintNow();
}

void TCard::SetDeckType(TDecks deckType)
{
    deckType_ = deckType;
    AccessibleTextMayChange();
    RepaintNow();
}

void TCard::SetHolder(TCardHolder holder, int place)
{
    holder_ = holder;
    place_ = place;
    AccessibleTextMayChange();
}

void TCard::SetExchangeMark(bool marked)
{
    exchangeMark_ = marked;
    AccessibleTextMayChange();
}

void TCard::AccessibleTextMayChange()
{
    // Announced later, not at once: SetCard sets the rank before the suit, and a screen
    // reader should hear the new card, not the mix in between.
    if (announcePending_)
        return;
    announcePending_ = true;
    QTimer::singleShot(0, this, [this] { AnnounceAccessibleText(); });
}

void TCard::AnnounceAccessibleText()
{
    announcePending_ = false;
    const QString name = AccessibleName();
    const QString description = AccessibleDescription();
    if (name != announcedName_) {
        announcedName_ = name;
        QAccessibleEvent event(this, QAccessible::NameChanged);
        Announce(&event);
    }
    if (description != announcedDescription_) {
        announcedDescription_ = description;
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        Announce(&event);
    }
}

QString TCard::AccessibleName() const
{
    return CardAccessibleName(showDeck_, value_, suit_);
}

QString TCard::AccessibleDescription() const
{
    return CardAccessibleDescription(holder_, place_, exchangeMark_);
}

void TCard::SetCard(std::int32_t rank, std::uint8_t suit)
{
    if (rank >= 1 && rank <= 13)
        SetValue(static_cast<std::uint8_t>(rank));
    if (suit <= 3)
        SetSuit(static_cast<TCardSuit>(suit));
}

void TCard::RepaintNow()
{
    if (!parentWidget())
        throw std::runtime_error(NoParentMessage(objectName()).toStdString());
    if (!isVisible()) {
        // Qt paints nothing hidden; the name is still checked so a bad value fails alike.
        if (!cards::IsCardName(ImageName().toStdString()))
            throw NotFound(ImageName());
        return;
    }
    paintFailure_.clear();
    reportedFailure_.clear();
    repainting_ = true;
    repaint();
    repainting_ = false;
    if (!paintFailure_.isEmpty()) {
        const std::string message = paintFailure_.toStdString();
        paintFailure_.clear();
        throw std::runtime_error(message);
    }
}

QColor TCard::FillColour() const
{
    // A card made without an owner borrows its parent's colour rather than failing.
    const QWidget* source = owner_ ? owner_.data() : parentWidget();
    return (source ? source : this)->palette().color(QPalette::Window);
}

bool TCard::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Paint && size() != QSize(CardWidth, CardHeight))
        resize(CardWidth, CardHeight);
    return handled;
}

void TCard::paintEvent(QPaintEvent*)
{
    // Exceptions must not cross Qt's event loop: a failure is handed to the setter that
    // asked for this paint, or reported through PaintFailed.
    QString failure;
    if (!parentWidget()) {
        failure = NoParentMessage(objectName());
    } else {
        try {
            const QImage picture = ComposeCardImage(ImageName(), FillColour());
            QPainter painter(this);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(QPoint(0, 0), ScaleForRatio(picture, devicePixelRatioF()));
            reportedFailure_.clear();
            return;
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (repainting_) {
        paintFailure_ = failure;
    } else if (failure != reportedFailure_) {
        // Reported once per failing state, and after the paint: a receiver that opens a modal
        // box must not do so inside a paint, nor get a new failure for every repaint of it.
        reportedFailure_ = failure;
        QMetaObject::invokeMethod(
            this, [this, failure] { emit PaintFailed(failure); }, Qt::QueuedConnection);
    }
}

void TCard::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TCard::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit Click(this);
}
