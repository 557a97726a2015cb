#include "session/MainWindowAccessibility.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "engine/Engine.h"
#include "session/MainWindowTexts.h"
#include "windows/Text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

namespace spoken {
namespace {

// Which reading a widget gets, kept on the widget so the factory finds it whenever Qt asks.
const char* const ReadingProperty = "wirtolaReading";
const QString NumberReading = QStringLiteral("number");
const QString PanelReading = QStringLiteral("panel");
constexpr int HoldAtMost = 4000;  // milliseconds
constexpr int MenuNamedFor = 300; // milliseconds between a menu's name and its first item

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

    // A field that can never be changed reads as text that a screen reader calls read-only;
    // a spin button is said to be editable whatever its state.
    QAccessible::Role role() const override
    {
        return Field()->isReadOnly() ? QAccessible::EditableText : QAccessible::SpinBox;
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

void Route(QAccessibleEvent* event);

// Marks the widget and drops an accessible object Qt may already have made for it (a name
// set while a screen reader listens makes one), so the next question gets the new reading.
void SetReading(QWidget* widget, const QString& reading)
{
    static const bool installed = [] {
        QAccessible::installFactory(MainWindowFactory);
        QAccessible::installUpdateHandler(Route);
        return true;
    }();
    (void)installed;
    widget->setProperty(ReadingProperty, reading);
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        if (reading == NumberReading ? !dynamic_cast<NumberFieldAccessible*>(made) : made->role() != QAccessible::Pane)
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

// One change held back: the latest of its kind for its control.
struct Held {
    QPointer<QObject> object;
    int child;
    QAccessible::Event type;
    QAccessible::State states; // a state change: every state that changed meanwhile
    QString textBefore;        // a text change: the text before the first
};

QPointer<QWidget> holding; // the window whose changes are held, or none
std::vector<Held> held;
QPointer<QObject> toldFocus; // the object whose focus was told last
int toldChild = -1;          // and which of its children (a menu's item), or -1
QPointer<QMenu> opening;     // a menu just shown, not yet named
QPointer<QWidget> keeping;   // the window whose focus is not told between two boxes
int boxesSeen = 0;           // how many boxes took the focus while keeping

void Pass(QAccessibleEvent* event);

bool Holdable(QAccessibleEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(event->object());
    if (!holding || !widget || widget->window() != holding)
        return false;
    switch (event->type()) {
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged:
    case QAccessible::ValueChanged:
    case QAccessible::TextCaretMoved:
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide:
        return true;
    case QAccessible::TextUpdated:
        return static_cast<QAccessibleTextUpdateEvent*>(event)->changePosition() == 0;
    case QAccessible::StateChanged: {
        const QAccessible::State changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        return !changed.active && !changed.focused;
    }
    default:
        return false;
    }
}

QAccessible::State Both(const QAccessible::State& a, const QAccessible::State& b)
{
    // The state is a set of bits with no union of its own.
    static_assert(sizeof(QAccessible::State) == sizeof(quint64));
    quint64 bitsA = 0;
    quint64 bitsB = 0;
    std::memcpy(&bitsA, &a, sizeof bitsA);
    std::memcpy(&bitsB, &b, sizeof bitsB);
    bitsA |= bitsB;
    QAccessible::State both;
    std::memcpy(static_cast<void*>(&both), &bitsA, sizeof both);
    return both;
}

void Hold(QAccessibleEvent* event)
{
    const auto showOrHide = [](QAccessible::Event type) {
        return type == QAccessible::ObjectShow || type == QAccessible::ObjectHide;
    };
    if (showOrHide(event->type())) // only the last of them tells where the control stands
        std::erase_if(held, [&](const Held& h) { return h.object == event->object() && showOrHide(h.type); });
    QAccessible::State states;
    if (event->type() == QAccessible::StateChanged)
        states = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    for (Held& h : held)
        if (h.object == event->object() && h.child == event->child() && h.type == event->type()) {
            h.states = Both(h.states, states);
            return;
        }
    QString before;
    if (event->type() == QAccessible::TextUpdated)
        before = static_cast<QAccessibleTextUpdateEvent*>(event)->textRemoved();
    held.push_back({event->object(), event->child(), event->type(), states, before});
}

// Tells the held changes, as they stand now.
void Release()
{
    holding = nullptr;
    std::vector<Held> now;
    now.swap(held);
    for (const Held& h : now) {
        if (!h.object)
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(h.object);
        QAccessibleTextInterface* text = face ? face->textInterface() : nullptr;
        if (h.type == QAccessible::StateChanged) {
            QAccessibleStateChangeEvent event(h.object, h.states);
            Pass(&event);
        } else if (h.type == QAccessible::ValueChanged) {
            if (face && face->valueInterface()) {
                QAccessibleValueChangeEvent event(h.object, face->valueInterface()->currentValue());
                Pass(&event);
            }
        } else if (h.type == QAccessible::TextUpdated) {
            const QString after = text ? text->text(0, text->characterCount()) : QString();
            if (text && after != h.textBefore) {
                QAccessibleTextUpdateEvent event(h.object, 0, h.textBefore, after);
                Pass(&event);
            }
        } else if (h.type == QAccessible::TextCaretMoved) {
            if (text) {
                QAccessibleTextCursorEvent event(h.object, text->cursorPosition());
                Pass(&event);
            }
        } else {
            QAccessibleEvent event(h.object, h.type);
            event.setChild(h.child);
            Pass(&event);
        }
    }
}

bool Kept(QAccessibleEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(event->object());
    if (!keeping || !widget || widget->window() != keeping)
        return false;
    if (event->type() == QAccessible::Focus)
        return true;
    return event->type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().active;
}

// Ends the keeping; when no second box came, the window's focus is told now.
void StopKeeping(bool tellTheFocus)
{
    QWidget* window = keeping;
    keeping = nullptr;
    QWidget* focused = QApplication::focusWidget();
    if (tellTheFocus && window && focused && focused->window() == window) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

// A menu opened from the keyboard gives its first item the focus at once, and a screen reader
// says the item but no menu: it names a menu only where it has the focus itself. So the menu is
// told first, and its item a moment later, once the reader has said the menu's name.
bool NamedTheMenu(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::PopupMenuStart) {
        opening = qobject_cast<QMenu*>(event->object());
        return false;
    }
    if (event->type() != QAccessible::Focus || !opening || event->object() != opening || event->child() < 0)
        return false;
    QMenu* menu = opening;
    opening = nullptr;
    QAccessibleEvent named(menu, QAccessible::Focus);
    Route(&named);
    QTimer::singleShot(MenuNamedFor, menu, [menu, child = event->child()] {
        if (toldFocus != menu || toldChild != -1 || !menu->isVisible())
            return; // the focus has moved on meanwhile
        QAccessibleEvent item(menu, QAccessible::Focus);
        item.setChild(child);
        Route(&item);
    });
    return true;
}

// Qt hands every accessibility event to this handler instead of the screen reader's bridge.
void Route(QAccessibleEvent* event)
{
    if (Kept(event) || NamedTheMenu(event))
        return;
    if (event->type() == QAccessible::Focus) {
        toldFocus = event->object();
        toldChild = event->child();
    }
    // Tabbing into a field selects its text before its focus is told, and leaving it unselects
    // it after the next control has the focus: "10 selected", then "Stake: 10".
    if (event->type() == QAccessible::TextSelectionChanged
        && (event->object() != toldFocus || event->object() != QApplication::focusWidget()))
        return;
    if (Holdable(event)) {
        Hold(event);
        return;
    }
    Pass(event);
}

void Pass(QAccessibleEvent* event)
{
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Route);
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

void KeepTheFocusForTheNextBox(QWidget* window)
{
    static int keeps = 0; // a later keeping is not ended by an earlier one's time
    static const bool watching = [] {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
            if (!keeping || !now)
                return;
            if (now->window() != keeping) {
                if (++boxesSeen == 2)
                    StopKeeping(false);
            } else if (boxesSeen >= 1) {
                // The first box has closed; the second follows it at once, or not at all.
                QTimer::singleShot(HoldAtMost, keeping, [keep = keeps] {
                    if (keep == keeps && keeping)
                        StopKeeping(true);
                });
            }
        });
        return true;
    }();
    (void)watching;
    if (keeping)
        StopKeeping(true);
    keeping = window;
    boxesSeen = 0;
    ++keeps;
}

void HoldUntilABoxHasTheFocus(QWidget* window)
{
    if (holding == window)
        return;
    if (holding)
        Release();
    holding = window;
    // The box's news have been sent once its focus is; a box that never takes the focus (no
    // window manager hands it over) releases them a little later all the same.
    static const bool watching = [] {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
            if (holding && now && now->window() != holding)
                QTimer::singleShot(0, qApp, [] {
                    if (holding)
                        Release();
                });
        });
        return true;
    }();
    (void)watching;
    static int holds = 0; // a later hold is not cut short by an earlier one's time
    QTimer::singleShot(HoldAtMost, window, [window, hold = ++holds] {
        if (holding == window && hold == holds)
            Release();
    });
}

} // namespace spoken
