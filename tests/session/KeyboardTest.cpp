#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace gametest;

namespace {

// Answers every box with Enter, pressed on whatever has the focus in it, as a keyboard
// player would; the text of each box is kept.
class EnterAnswerer : public QObject {
public:
    EnterAnswerer() { qApp->installEventFilter(this); }
    ~EnterAnswerer() override { qApp->removeEventFilter(this); }

    QStringList texts;
    QStringList errors;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                QTimer::singleShot(0, box, [this, box] { Answer(box); });
        return false;
    }

private:
    void Answer(QMessageBox* box)
    {
        if (!box->isVisible())
            return;
        (box->icon() == QMessageBox::Critical ? errors : texts).append(box->text());
        box->activateWindow();
        QWidget* focus = QTest::qWaitForWindowActive(box) ? QApplication::focusWidget() : nullptr;
        if (!focus || focus->window() != box) {
            ADD_FAILURE() << "the box has no focus: " << box->text().toStdString();
            box->reject();
            return;
        }
        QTest::keyClick(focus, Qt::Key_Return);
    }
};

class KeyboardTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        answerer_.reset(); // the boxes are answered by keys here
    }

    void Start()
    {
        StartProgram();
        BackToTheWindow();
    }

    // Offscreen there is no window manager to hand the activation back after a box.
    static void BackToTheWindow()
    {
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    }

    // A key goes where the focus is, as on a real keyboard.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    static void Type(const QString& text)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, text);
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }

    EnterAnswerer shown_;
};

} // namespace

TEST_F(KeyboardTest, AWholeRoundByKeysAloneNeverTypesOverTheStake)
{
    Start();
    ASSERT_EQ(Focus(), DealButton());

    // The stake: typed, then stepped by the arrow keys as the spinner steps it.
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), StakeField());
    Type("50");
    Press(Qt::Key_Up);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("60"));
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("40"));
    // Between rounds the draw's mnemonic is dead and must not type its letter.
    StakeField()->selectAll();
    Press(Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("40"));

    // Enter on the focused deal button deals; the focus moves on to the draw button.
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focus(), DealButton());
    Press(Qt::Key_Return);
    ASSERT_TRUE(DrawButton()->isEnabled());
    EXPECT_EQ(Focus(), DrawButton());
    EXPECT_EQ(FundField()->text(), QStringLiteral("2960"));

    // A mistyped deal mnemonic, on the button and in the stake field with its text selected.
    Press(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(Focus(), DrawButton());
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), StakeField());
    EXPECT_TRUE(StakeField()->hasSelectedText());
    Press(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("40"));

    // Keep boxes by Tab and Space, Enter or keypad Enter: cards 1, 3 and 5 go; card 4 goes and
    // comes back. A box turned over by a key marks its card for the exchange too.
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), KeepBoxAt(0));
    Press(Qt::Key_Space);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), KeepBoxAt(2));
    Press(Qt::Key_Return);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    Press(Qt::Key_Return);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), KeepBoxAt(4));
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    const bool keepWant[5] = {false, true, false, true, false};
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(KeepBoxAt(slot)->isChecked(), keepWant[slot]) << slot;
        EXPECT_EQ(CardAt(engine::PlayerHand, slot)->ExchangeMark(), !keepWant[slot]) << slot;
    }

    // Back to the draw button; Space draws, Enter answers the result and the question.
    for (int i = 0; i < 7; ++i)
        Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focus(), DrawButton());
    const int drawnFrom = engine::DeckPos;
    Press(Qt::Key_Space);
    EXPECT_EQ(engine::DeckPos, drawnFrom + 3);
    ASSERT_EQ(shown_.texts.size(), 2);
    EXPECT_TRUE(shown_.texts[0].endsWith(QStringLiteral("Kliknij OK to potasuję i rozdam ponownie.")));
    EXPECT_EQ(shown_.texts[1], QStringLiteral("Czy chcesz kontynuować grę ?"));
    EXPECT_FALSE(Form1->Ended()) << "Enter answers Tak";
    BackToTheWindow();

    // The round is over: the deal button has the focus again, ready for the next Enter.
    EXPECT_TRUE(DealButton()->isEnabled());
    EXPECT_EQ(Focus(), DealButton());
    EXPECT_EQ(StakeField()->text(), QStringLiteral("40"));
    EXPECT_TRUE(shown_.errors.isEmpty()) << shown_.errors.join('\n').toStdString();
}

TEST_F(KeyboardTest, ARefusedStakeLeavesTheFocusInTheStakeFieldReadyForAnother)
{
    WriteIni("[Statystyka]\r\nWygrane=0\r\nPrzegrane=0\r\nFundusz=100\r\n");
    Start();
    Press(Qt::Key_Tab);
    Type("500");
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focus(), DealButton());
    Press(Qt::Key_Space);
    ASSERT_EQ(shown_.texts.size(), 1);
    EXPECT_TRUE(shown_.texts[0].startsWith(QStringLiteral("Oferowana przez Ciebie stawka")));
    EXPECT_FALSE(DrawButton()->isEnabled());
    BackToTheWindow();
    EXPECT_EQ(Focus(), StakeField());
    // The refused stake is selected, so the next one replaces it.
    Type("90");
    EXPECT_EQ(StakeField()->text(), QStringLiteral("90"));
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Return);
    EXPECT_TRUE(DrawButton()->isEnabled());
    EXPECT_EQ(FundField()->text(), QStringLiteral("10"));
}
