#pragma once

// The main block: the program's four windows, created in start-up order and kept until the end.

#include <memory>

class QApplication;
class TForm1;
class TForm2;
class TForm3;
class TFPomoc;
class StatisticsWindow;
struct RewardLinks;

namespace program {
class TerminationSignals;
}

class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

private:
    // Declared in creation order; destroyed in reverse, after the event loop has ended.
    // The signals come first: a box that start-up shows must already give way to them.
    std::unique_ptr<program::TerminationSignals> signals_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TFPomoc> fpomoc_;
    std::unique_ptr<StatisticsWindow> statistics_;
};

// What the main window hands the reward window: its tune player, sound switch, end and reset.
RewardLinks RewardLinksOf(TForm1& form1);

// Sets the title, creates the windows and runs the event loop until the main window closes.
int RunProgram(QApplication& app);
