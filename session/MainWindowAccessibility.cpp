#include "session/MainWindowAccessibility.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "engine/Engine.h"
#include "session/MainWindowTexts.h"
#include "windows/Text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <array>
#include <cstddef>
#include <limits>
#include <vector>

namespace spoken {
namespace {

// Which reading a widget gets, kept on the widget so the factory finds it whenever Qt asks.
const char* const ReadingProperty = "wirtolaReading";
const QString NumberReading = QStringLiteral("number");
const QString PanelReading = QStringLiteral("panel");

// A line field read as a spin button. The text runs are whole: a screen reader that stitches
// attribute runs gets every digit (Qt's own line field reports empty runs, and the last digit
// was lost).
class NumberFieldAccessible : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleValueInterface {
public:
    explicit NumberFieldAccessible(QLineEdit* field)
        : QAccessibleWidget(field, QAccessible::SpinBox)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !Field()->isReadOnly();
        s.readOnly = Field()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Field()->text();
        return QAccessibleWidget::text(t);
    }

    // Value.
    QVariant currentValue() const override { return Field()->text().toInt(); }
    void setCurrentValue(const QVariant& value) override
    {
        if (!Field()->isReadOnly())
            Field()->setText(QString::number(value.toInt()));
    }
    QVariant maximumValue() const override { return std::numeric_limits<int>::max(); }
    QVariant minimumValue() const override { return std::numeric_limits<int>::min(); }
    QVariant minimumStepSize() const override { return 1; }

    // Text.
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && Field()->hasSelectedText()) {
            *start = Field()->selectionStart();
            *end = Field()->selectionEnd();
        }
    }
    int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { Field()->deselect(); }
    void setSelection(int, int start, int end) override { Field()->setSelection(start, end - start); }
    int cursorPosition() const override { return Field()->cursorPosition(); }
    void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
    QString text(int start, int end) const override { return Field()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Field()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QString shown = Field()->text();
        if (offset < 0 || offset >= shown.size())
            return {};
        // Near enough for a screen reader's magnifier: the field's left margin is small.
        const QFontMetrics metrics = Field()->fontMetrics();
        const QRect area = Field()->contentsRect();
        const int x = area.x() + metrics.horizontalAdvance(shown.left(offset));
        const QRect inField(x, area.y(), metrics.horizontalAdvance(shown.at(offset)), area.height());
        return QRect(Field()->mapToGlobal(inField.topLeft()), inField.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return Field()->cursorPositionAt(Field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        // One run over the whole text, with no attributes.
        (void)offset;
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QLineEdit* Field() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* MainWindowFactory(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QString reading = widget->property(ReadingProperty).toString();
    if (reading == NumberReading && className == QLatin1String("QLineEdit"))
        return new NumberFieldAccessible(static_cast<QLineEdit*>(widget));
    if (reading == PanelReading && className == QLatin1String("QFrame"))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    return nullptr;
}

// Marks the widget and drops an accessible object Qt may already have made for it (a name
// set while a screen reader listens makes one), so the next question gets the new reading.
void SetReading(QWidget* widget, const QString& reading)
{
    static const bool installed = [] {
        QAccessible::installFactory(MainWindowFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(ReadingProperty, reading);
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        if (made->role() != (reading == NumberReading ? QAccessible::SpinBox : QAccessible::Pane))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

QString CardList(std::uint8_t hand)
{
    QStringList names;
    for (const engine::Card& c : engine::Hands[hand])
        names << CardFaceName(c.rank, static_cast<TCardSuit>(c.suit));
    return names.join(QStringLiteral(", "));
}

QString CategoryName(std::uint8_t hand)
{
    const std::size_t category = engine::HandCategory[hand];
    return category < texts::CategoryNames.size() ? Text(texts::CategoryNames[category]) : QString();
}

std::vector<QPointer<QCheckBox>> hushed;

// Qt hands every accessibility event to this handler instead of the screen reader's bridge;
// it drops the hushed boxes' check changes and hands the rest on the usual way.
void PassUnlessHushed(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked)
        for (const QPointer<QCheckBox>& box : hushed)
            if (box && box == event->object())
                return;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(PassUnlessHushed);
}

} // namespace

void ReadAsNumber(QLineEdit* field)
{
    SetReading(field, NumberReading);
    QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString& text) {
        QAccessibleValueChangeEvent changed(field, text.toInt());
        QAccessible::updateAccessibility(&changed);
    });
}

void ReadAsPanel(QFrame* panel)
{
    SetReading(panel, PanelReading);
}

QString HandWords()
{
    return Text(texts::YourCards).arg(CardList(engine::PlayerHand));
}

QString ShowdownWords()
{
    const QString side = Text(texts::SideWords);
    return side.arg(Text(texts::ComputerSide), CategoryName(engine::ComputerHand), CardList(engine::ComputerHand))
        + QLatin1Char(' ')
        + side.arg(Text(texts::PlayerSide), CategoryName(engine::PlayerHand), CardList(engine::PlayerHand));
}

void TellTheHand(QPushButton* focusedNext)
{
    focusedNext->setAccessibleDescription(HandWords());
}

void HushTheKeepBoxes(QPushButton* drawButton, const std::array<QCheckBox*, 5>& boxes)
{
    drawButton->setAccessibleDescription(QString());
    hushed.assign(boxes.begin(), boxes.end());
    QAccessible::installUpdateHandler(PassUnlessHushed);
    auto* once = new QObject(drawButton);
    QObject::connect(qApp, &QApplication::focusChanged, once, [once] {
        hushed.clear();
        QAccessible::installUpdateHandler(nullptr);
        once->deleteLater();
    });
}

} // namespace spoken
