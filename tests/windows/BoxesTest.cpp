#include "windows/Boxes.h"

#include "tests/support/TimeLimit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A style such as some desktop themes give: a glyph on every standard dialog button.
class IconsOnDialogButtons : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

struct Buttons {
    QStringList texts;
    int withIcon = 0;
};

// Opens a box and, once it is up, reads its buttons and presses the first. A watchdog ends a
// box that never showed up or never closed, so a fault fails instead of hanging.
Buttons ButtonsOf(const std::function<void()>& open)
{
    Buttons seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        for (QAbstractButton* button : box->buttons()) {
            seen.texts << button->text();
            seen.withIcon += button->icon().isNull() ? 0 : 1;
        }
        box->buttons().first()->click();
    });
    poll.start(10);
    const ModalDeadline deadline("the box stayed open");
    open();
    return seen;
}

} // namespace

TEST(Boxes, ButtonsCarryNoGlyphEvenWhereTheStyleGivesOne)
{
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(new IconsOnDialogButtons(previous));
    // The style really does put glyphs on a dialog's standard buttons.
    QDialogButtonBox plain(QDialogButtonBox::Ok);
    ASSERT_FALSE(plain.button(QDialogButtonBox::Ok)->icon().isNull());

    struct Row {
        const char* kind;
        std::function<void()> open;
        QStringList texts;
    };
    const Row rows[] = {
        {"message", [] { boxes::ShowMessage(QStringLiteral("Wygrałeś")); }, {QStringLiteral("OK")}},
        {"question",
         [] { boxes::AskYesNo(QStringLiteral("Pytanie"), QStringLiteral("Grasz?")); },
         {QStringLiteral("&Tak"), QStringLiteral("&Nie")}},
        {"error", [] { boxes::ShowError(QStringLiteral("Błąd")); }, {QStringLiteral("OK")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        const Buttons seen = ButtonsOf(row.open);
        EXPECT_EQ(seen.texts, row.texts);
        EXPECT_EQ(seen.withIcon, 0);
    }
    QApplication::setStyle(previous);
}

// Esc closes a box with one button; the question has no way out but its two answers, not even
// its close box.
TEST(Boxes, EscClosesTheOneButtonBoxesButTheQuestionWaitsForAnAnswer)
{
    struct Row {
        const char* kind;
        std::function<bool()> open;
        bool escCloses;
    };
    const Row rows[] = {
        {"message", [] { return boxes::ShowMessage(QStringLiteral("Wygrałeś")), true; }, true},
        {"error", [] { return boxes::ShowError(QStringLiteral("Błąd")), true; }, true},
        {"question", [] { return boxes::AskYesNo(QStringLiteral("Pytanie"), QStringLiteral("Grasz?")); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        bool escClosed = false;
        bool closeClosed = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            QTest::qWait(300); // a box's Esc presses its button as a short animation
            escClosed = !box->isVisible();
            if (escClosed)
                return;
            closeClosed = box->close();
            box->buttons().first()->click();
        });
        poll.start(10);
        const ModalDeadline deadline("the box stayed open");
        const bool answer = row.open();
        EXPECT_EQ(escClosed, row.escCloses);
        EXPECT_FALSE(closeClosed);
        EXPECT_TRUE(answer) << "the question is answered Tak after Esc";
    }
}
