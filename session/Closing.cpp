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
QString CauseWords(scores::profile::WriteFailure cause)
{
    using scores::profile::WriteFailure;
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
    case WriteFailure::TooBig:
        return Text(texts::CauseTooBig);
    case WriteFailure::ForeignEntry:
        return Text(texts::CauseForeignEntry);
    case WriteFailure::ForeignFolder:
        return Text(texts::CauseForeignFolder);
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
    // Whatever such a file is, it is not this game's: the player hears why nothing will be saved.
    if (scores::read_inifile(Session) == scores::profile::WriteFailure::TooBig)
        boxes::ShowMessage(Text(texts::FileTooBig).arg(QString::fromStdString(scores::StatisticsFilePath())));
}

void TForm1::save_inifile()
{
    scores::save_inifile(Session);
}

void TForm1::SaveAfterRound()
{
    try {
        save_inifile();
    } catch (const std::exception& e) {
        const auto* write = dynamic_cast<const scores::WriteError*>(&e);
        // The round record stays readable; the warning follows it, after every round not saved.
        const QString warning = Text(texts::SaveFailedWarning)
                                    .arg(CauseWords(write ? write->cause() : scores::profile::WriteFailure::Failed));
        SetStatus(statusText_ + warning);
        notSaved_ = warning.trimmed();
    }
}

void TForm1::TellWhereTheScoresAre()
{
    const scores::StatisticsPlace& place = scores::CurrentStatisticsPlace();
    const QString file = QString::fromStdString(place.path);
    QString told;
    if (place.avoidedSharedFolder)
        told = Text(texts::SharedFolderAvoided).arg(file);
    else if (!place.leftBehind.empty())
        told = Text(texts::ReadOnlyFolderAvoided).arg(file);
    if (!place.leftBehind.empty())
        told += Text(texts::OldFileKept);
    if (const auto folder = scores::PrepareStatisticsFolder(); folder != scores::profile::WriteFailure::None) {
        const QString notSaved =
            Text(texts::NotSavingTo)
                .arg(QString::fromStdString(scores::profile::FolderOf(place.path)), CauseWords(folder));
        told = told.isEmpty() ? notSaved : told + QStringLiteral("  ") + notSaved;
    }
    if (!told.isEmpty())
        SetStatus(told);
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
        std::fprintf(stderr, "Wirtola: %s: %s\n", Text(texts::SaveFailed).toLocal8Bit().constData(), e.what());
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
