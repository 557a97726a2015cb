#include "windows/Boxes.h"

#include "windows/Text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

namespace boxes {
namespace {

// The boxes' own texts; what they ask or tell is their caller's.
constexpr const char* Ok = QT_TRANSLATE_NOOP("Wirtola", "OK");
constexpr const char* Yes = QT_TRANSLATE_NOOP("Wirtola", "&Tak");
constexpr const char* No = QT_TRANSLATE_NOOP("Wirtola", "&Nie");
constexpr const char* Unexpected = QT_TRANSLATE_NOOP("Wirtola", "Nieoczekiwany błąd");

QString applicationTitle = QStringLiteral("Wirtola");

// Application-modal and without a parent, so Qt centres the box on the screen. The buttons
// are plain text: some styles and desktop themes put a glyph on dialog buttons.
int RunBox(QMessageBox& box)
{
    box.setWindowModality(Qt::ApplicationModal);
    KeepAbove(box, QApplication::activeWindow());
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return box.exec();
}

// A question that must be answered: Esc and the title bar's close do nothing, where a message
// box would take either as its "Nie".
class MustAnswer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QString ApplicationTitle()
{
    return applicationTitle;
}

void SetApplicationTitle(const QString& title)
{
    applicationTitle = title;
}

QString WithLineBreaks(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString WithFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void KeepAbove(QWidget& window, const QWidget* owner)
{
    if (owner == nullptr || owner == &window || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    window.winId(); // the platform window, to carry the link
    if (QWindow* ownerWindow = owner->window()->windowHandle())
        window.windowHandle()->setTransientParent(ownerWindow);
}

void ShowMessage(const QString& text, const QString& spokenWithIt)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, WithLineBreaks(text), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(Text(Ok));
    box.button(QMessageBox::Ok)->setAccessibleDescription(spokenWithIt);
    RunBox(box);
}

bool AskYesNo(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, WithLineBreaks(text));
    QPushButton* yes = box.addButton(Text(Yes), QMessageBox::YesRole);
    box.addButton(Text(No), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    // The question with the button that has the focus, as the result box's words are: a screen
    // reader that misses the alert, as the focus comes back to it from the main window, still
    // hears what the answer is to.
    yes->setAccessibleDescription(text);
    MustAnswer mustAnswer;
    box.installEventFilter(&mustAnswer);
    RunBox(box);
    return box.clickedButton() == yes;
}

bool AskNoByDefault(const QString& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitle, WithLineBreaks(text));
    QPushButton* yes = box.addButton(Text(Yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Text(No), QMessageBox::NoRole);
    box.setDefaultButton(no); // leaving without the scores must be chosen, never slipped into
    box.setEscapeButton(no);
    RunBox(box);
    return box.clickedButton() == yes;
}

void ShowError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle, WithLineBreaks(WithFullStop(message)), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(Text(Ok));
    RunBox(box);
}

bool Guarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(Text(Unexpected));
    }
    return false;
}

} // namespace boxes
