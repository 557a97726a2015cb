#include "windows/Boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace boxes {
namespace {

QString applicationTitle = QStringLiteral("Wirtola");

const QString ContinueCaption = QStringLiteral("Pytanie o grę");
const QString ContinueQuestion = QStringLiteral("Czy chcesz kontynuować grę ?");
const QString EndWithoutSaving = QStringLiteral("Nie udało się zapisać wyników gry.\rZakończyć grę bez zapisu?");

// Application-modal and without a parent, so Qt centres the box on the screen. The buttons
// are plain text: some styles and desktop themes put a glyph on dialog buttons.
int RunBox(QMessageBox& box)
{
    box.setWindowModality(Qt::ApplicationModal);
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return box.exec();
}

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

void ShowMessage(const QString& text, const QString& spokenWithIt)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, WithLineBreaks(text), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Ok)->setAccessibleDescription(spokenWithIt);
    RunBox(box);
}

bool AskContinue()
{
    QMessageBox box(QMessageBox::Question, ContinueCaption, ContinueQuestion);
    QPushButton* yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    // A screen reader says the question with the focused "Tak" too: when the main window is
    // activated between the result and the question, it may not read the box's text.
    yes->setAccessibleDescription(ContinueQuestion);
    RunBox(box);
    return box.clickedButton() == yes;
}

bool AskEndWithoutSaving()
{
    QMessageBox box(QMessageBox::Question, applicationTitle, WithLineBreaks(EndWithoutSaving));
    QPushButton* yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
    box.setDefaultButton(no); // leaving without the scores must be chosen, never slipped into
    box.setEscapeButton(no);
    RunBox(box);
    return box.clickedButton() == yes;
}

void ShowError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle, WithLineBreaks(WithFullStop(message)), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
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
        ShowError(QStringLiteral("Nieoczekiwany błąd"));
    }
    return false;
}

} // namespace boxes
