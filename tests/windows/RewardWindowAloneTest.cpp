// The reward window on its own: no main window, only what its maker hands it.

#include "windows/Unit2.h"

#include "sound/KwOdeum.h"
#include "tests/sound/FakeSpeakerPlatform.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const int StillOpen = 42;

enum class Dismissal { Button, Key, CloseBox };

TEST(RewardWindowAlone, PlaysTheHandedPlayersFanfareAndEveryDismissalResets)
{
    struct Row {
        const char* name;
        bool soundsOn;
        Dismissal how;
        int resets; // the button resets, and closing the window resets again
    };
    const Row rows[] = {{"button, sounds on", true, Dismissal::Button, 2},
                        {"key, sounds on", true, Dismissal::Key, 1},
                        {"close box, sounds off", false, Dismissal::CloseBox, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSpeakerPlatform speaker;
        speaker.ntFamily = true; // every note returns at once
        speaker.pumpStep = 1000; // and so does every rest
        const ScopedSpeakerPlatform scoped(speaker);
        TKwBeeper beeper(nullptr);
        beeper.SetDefaultSound(psOfficial);

        bool ended = false;
        int resets = 0;
        TForm2* shown = nullptr;
        RewardLinks links;
        links.beeper = &beeper;
        links.soundsOn = [&] { return row.soundsOn; };
        links.programEnded = [&] { return ended; };
        // As the main window does: the reset ends the program, which hides every window.
        links.resetAfterReward = [&] {
            ++resets;
            ended = true;
            shown->hide();
        };
        TForm2 window(links);
        shown = &window;

        bool timerEverOn = false;
        QTimer::singleShot(0, &window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            // With sounds on, wait for the first fanfare (1 s after showing, later on a busy
            // machine); otherwise half a second past when it would have come.
            (void)QTest::qWaitFor(
                [&] {
                    timerEverOn |= window.Timer1->isActive();
                    return !speaker.heard.empty();
                },
                row.soundsOn ? 20000 : 1500);
            switch (row.how) {
            case Dismissal::Button:
                QTest::mouseClick(window.btnOk, Qt::LeftButton);
                break;
            case Dismissal::Key:
                QTest::keyClick(window.btnOk, Qt::Key_A);
                break;
            case Dismissal::CloseBox:
                window.close();
                break;
            }
        });
        // A dismissal that fails ends the showing here rather than hanging the run.
        QTimer::singleShot(30000, &window, [&] {
            ADD_FAILURE() << "still open";
            window.QDialog::done(StillOpen);
        });
        const int result = window.exec();
        EXPECT_NE(result, StillOpen);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(resets, row.resets);
        EXPECT_EQ(window.btnOk->x(), 200);
        if (row.soundsOn) {
            // The fanfare is the handed player's default tune: its eight sounding notes.
            ASSERT_GE(speaker.heard.size(), 8U);
            const double fanfare[] = {196, 196, 196, 165, 261, 261, 261, 131};
            for (std::size_t i = 0; i < 8; ++i)
                EXPECT_EQ(speaker.heard[i].frequency, fanfare[i]) << "note " << i;
        } else {
            EXPECT_TRUE(speaker.heard.empty());
            EXPECT_FALSE(timerEverOn);
            EXPECT_EQ(window.Label21->text(), QStringLiteral("NieGra"));
        }
    }
}

} // namespace
