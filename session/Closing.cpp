// Saving and closing: the save after every round, the closings that save and may end without
// it, the signals' close, and the end of the session.

#include "session/Unit1.h"

#include "scores/Statistics.h"
#include "session/MainWindowTexts.h"
#include "windows/Boxes.h"
#include "windows/Text.h"
#include "windows/Unit2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStatusBar>

#include <cstdio>
#include <stdexcept>

namespace {

// Short enough to stand after the round record on the status bar.
QString CauseWords(session::profile::WriteFailure cause)
{
    using session::profile::WriteFailure;
    switch (cause) {
    case WriteFailure::ReadOnly:
        return Text(texts::CauseReadOnly);
    case WriteFailure::NoPermission:
        return Text(texts::CauseNoPermission);
    case WriteFailure::NoSpace:
        return Text(texts::CauseNoSpace);
    case WriteFailure::ReadOnlyDisk:
        return Text(texts::CauseReadOnlyDisk);
    case WriteFailure::NotAFile:
        return Text(texts::CauseNotAFile);
    case WriteFailure::ForeignEntry:
        return Text(texts::CauseForeignEntry);
    case WriteFailure::NameChanged:
        return Text(texts::CauseNameChanged);
    case WriteFailure::NoFolder:
        return Text(texts::CauseNoFolder);
    case WriteFailure::OtherGame:
        return Text(texts::CauseOtherGame);
    case WriteFailure::None:
    case WriteFailure::Failed:
        break;
    }
    return Text(texts::CauseFailed);
}

// Asked when the save at a closing failed; leaving without the scores must be chosen.
bool AskEndWithoutSaving()
{
    return boxes::AskNoByDefault(Text(texts::SaveFailed) + QStringLiteral(".\r") + Text(texts::EndWithoutSaving));
}

} // namespace

void TForm1::read_inifile()
{
    session::read_inifile(Session);
}

void TForm1::save_inifile()
{
    session::save_inifile(Session);
    saveFailing_ = false;
}

void TForm1::SaveAfterRound()
{
    try {
        save_inifile();
    } catch (const std::exception& e) {
        const auto* write = dynamic_cast<const session::WriteError*>(&e);
        // The round record stays readable; the warning follows it.
        if (!saveFailing_)
            SetStatus(StatusBar1->currentMessage()
                      + Text(texts::SaveFailedWarning)
                            .arg(CauseWords(write ? write->cause() : session::profile::WriteFailure::Failed)));
        saveFailing_ = true;
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!ended_ && !SaveForClosing()) {
        event->ignore();
        return;
    }
    event->accept();
    EndSession();
}

bool TForm1::SaveForClosing()
{
    if (boxes::Guarded([this] { save_inifile(); }))
        return true;
    // The file may be out of reach for good (a read-only folder, a full disk): leaving without
    // it must stay possible, so the player decides.
    return ended_ || AskEndWithoutSaving();
}

bool TForm1::SaveAndClose()
{
    if (boxes::Guarded([this] { save_inifile(); })) {
        close();
    } else if (ended_ || AskEndWithoutSaving()) {
        EndSession(); // so that the closing does not try the save, and ask, again
        close();
    }
    return ended_;
}

void TForm1::CloseBySignal()
{
    if (ended_)
        return;
    SaveWithoutAsking();
    EndSession();
    close();
}

void TForm1::SaveWithoutAsking()
{
    try {
        save_inifile();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Wirtola: %s: %s\n", texts::SaveFailed, e.what());
    }
}

void TForm1::EndSession()
{
    if (ended_)
        return;
    ended_ = true;
    // Hiding a modal box or window ends its event loop; the handler that opened it resumes,
    // sees Ended() and stops.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->hide();
    emit ProgramEnded();
}
