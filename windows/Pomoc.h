#pragma once

#include <QWidget>

class QPlainTextEdit;

// The help window: the game's help text in an editable, word-wrapping memo. Not modal; closing
// it only hides it, and whatever the player typed into the memo stays until the program ends.
class TFPomoc : public QWidget {
    Q_OBJECT

public:
    explicit TFPomoc(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1; // the help text, editable, with a scroll bar

    // Shows the window, or only brings it forward when it is already shown.
    void Show();
    // Names this run's statistics file where the help tells where the scores are kept: beside
    // the program, or in the player's own data folder (`perUser`), and the file beside the
    // program left as it was (`leftBehind`, when not empty). Replaces the memo's text.
    void SetStatisticsFile(const QString& path, bool perUser, const QString& leftBehind = {});

protected:
    // Esc closes the window; every other key goes on to the memo. True when the key was taken.
    bool FormKeyDown(int key);
    // Once per showing: the top right corner of the desktop, 10 px wider than before.
    void FormActivate();
    // Undoes what FormActivate did, so the next showing starts from the same state.
    void FormClose();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Stands the frame at the desktop's top, its left edge from the width before the showing
    // widened the window by `widened` pixels.
    void PlaceAtTopRight(int widened);

    bool adjusted_ = false;
    // The showing was placed with a guessed frame; place it again once the real one is known.
    bool placeAgain_ = false;
};

// The help text with the sentence that says where the statistics file is in its place.
QString HelpText(const QString& statisticsFile, bool perUser, const QString& leftBehind = {});
