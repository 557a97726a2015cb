#pragma once

// Every text that the main window, its round flow and its closings show or speak, each written
// once (the program's start and end have theirs in program/ProgramTexts.h). A carriage return in
// a box's text is a line break; %1, %2 ... are filled in where the text is used.

#include "windows/HandClassNames.h"

#include <QtGlobal>

#include <array>

namespace texts {

// The window and its controls.
// %1 is the version, major and minor.
constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Wirtola wer. %1");
constexpr const char* DealButton = QT_TRANSLATE_NOOP("Wirtola", "&Rozdanie kart");
constexpr const char* DrawButton = QT_TRANSLATE_NOOP("Wirtola", "Kup&no i licytacja");
constexpr const char* StakeLabel = QT_TRANSLATE_NOOP("Wirtola", "Stawka:");
constexpr const char* FundLabel = QT_TRANSLATE_NOOP("Wirtola", "Fundusz:");
// Screen readers name the fields after their labels, without the labels' colons.
constexpr const char* StakeName = QT_TRANSLATE_NOOP("Wirtola", "Stawka");
constexpr const char* FundName = QT_TRANSLATE_NOOP("Wirtola", "Fundusz");
constexpr const char* StakeUpName = QT_TRANSLATE_NOOP("Wirtola", "Zwiększ stawkę");
constexpr const char* StakeDownName = QT_TRANSLATE_NOOP("Wirtola", "Zmniejsz stawkę");
constexpr const char* KeepBox = QT_TRANSLATE_NOOP("Wirtola", "Zostaw %1");
constexpr const char* SettingsMenu = QT_TRANSLATE_NOOP("Wirtola", "&Ustawienia   ");
constexpr const char* SoundSwitch = QT_TRANSLATE_NOOP("Wirtola", "&Dzwięki włączone");
constexpr const char* LoanItem = QT_TRANSLATE_NOOP("Wirtola", "P&ożyczka z banku");
constexpr const char* HelpItem = QT_TRANSLATE_NOOP("Wirtola", "&Pomoc    ");
constexpr const char* EndItem = QT_TRANSLATE_NOOP("Wirtola", "&Koniec");
constexpr const char* StatisticsItem = QT_TRANSLATE_NOOP("Wirtola", "&Statystyka");
constexpr const char* HintItem = QT_TRANSLATE_NOOP("Wirtola", "&Podpowiedź");

// The round flow.
// %1 counts the rounds won and lost, not those tied; it also picks the plural form.
constexpr const char* StatusLine =
    QT_TRANSLATE_N_NOOP("Wirtola", "Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3");
constexpr const char* StakeRefused = QT_TRANSLATE_NOOP(
    "Wirtola", "Oferowana przez Ciebie stawka przekracza stan Twojego funduszu.\rProszę wstaw właściwą stawkę");
constexpr const char* StakeHint = QT_TRANSLATE_NOOP(
    "Wirtola", "W okienku \"Stawka\" wstaw dowolną kwotę, która jednak nie przekroczy Twojego funduszu.");
constexpr const char* NotAWholeNumber = QT_TRANSLATE_NOOP("Wirtola", "'%1' is not a valid integer value");
constexpr const char* FundExhausted =
    QT_TRANSLATE_NOOP("Wirtola", "Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku.");
constexpr const char* DealAgain = QT_TRANSLATE_NOOP("Wirtola", "Kliknij OK to potasuję i rozdam ponownie.");
constexpr const char* ContinueCaption = QT_TRANSLATE_NOOP("Wirtola", "Pytanie o grę");
constexpr const char* ContinueQuestion = QT_TRANSLATE_NOOP("Wirtola", "Czy chcesz kontynuować grę ?");
// The round's result, picked by its outcome (in the engine's Outcome order); word for word the
// engine's own Polish message, which the engine keeps free of Qt. %1 is the stake.
constexpr std::array<const char*, 5> ResultHeadlines{
    QT_TRANSLATE_NOOP("Wirtola", "Gratulacje Wygrałeś !"),
    QT_TRANSLATE_NOOP("Wirtola", "Tym razem zwycięzcą został Komputer!"),
    QT_TRANSLATE_NOOP("Wirtola", "Gratulacje  - Wygrałeś!"), QT_TRANSLATE_NOOP("Wirtola", "Tym razem wygrał komputer!"),
    QT_TRANSLATE_NOOP("Wirtola", "Obie strony czekały - rozdanie jest więc nierozstrzygnięte!")};
constexpr std::array<const char*, 5> ResultMoneyLines{QT_TRANSLATE_NOOP("Wirtola", "Wygrałeś złotych polskich  %1"),
                                                      QT_TRANSLATE_NOOP("Wirtola", "Przykro mi ale Przegrałeś zł.  %1"),
                                                      QT_TRANSLATE_NOOP("Wirtola", "Tym razem Wygrałeś zł. %1"),
                                                      QT_TRANSLATE_NOOP("Wirtola", "Przykro mi ale Przegrałeś zł.  %1"),
                                                      nullptr};
constexpr const char* LoanGranted = QT_TRANSLATE_NOOP("Wirtola", "Znaj moją Łaskawość - Udzieliłem pożyczki %1 zł.");

// What a screen reader says beside what the window shows: the hand after a deal, and both hands
// with the result ("Komputer: para: as pik, ..." - whose, the hand's class, the cards).
constexpr const char* YourCards = QT_TRANSLATE_NOOP("Wirtola", "Twoje karty: %1");
constexpr const char* ComputerSide = QT_TRANSLATE_NOOP("Wirtola", "Komputer");
constexpr const char* PlayerSide = QT_TRANSLATE_NOOP("Wirtola", "Ty");
constexpr const char* SideWords = QT_TRANSLATE_NOOP("Wirtola", "%1: %2: %3.");
// With the result: the fund, the rounds won and the rounds lost.
constexpr const char* FundAndTallies = QT_TRANSLATE_NOOP("Wirtola", "Fundusz: %1 zł. Wygrane %2, przegrane %3.");
// With the loan.
constexpr const char* TalliesAfresh = QT_TRANSLATE_NOOP("Wirtola", "Wygrane i przegrane liczą się od nowa.");
// CategoryNames: windows/HandClassNames.h, shared with the statistics window.

// Saving and closing.
constexpr const char* SaveFailed = QT_TRANSLATE_NOOP("Wirtola", "Nie udało się zapisać wyników gry");
constexpr const char* EndWithoutSaving = QT_TRANSLATE_NOOP("Wirtola", "Zakończyć grę bez zapisu?");
constexpr const char* SaveFailedWarning = QT_TRANSLATE_NOOP("Wirtola", "  Nie zapisano: %1");
constexpr const char* SharedFolderAvoided =
    QT_TRANSLATE_NOOP("Wirtola", "Folder gry jest wspólny, więc wyniki zapisuję w %1");
constexpr const char* ReadOnlyFolderAvoided =
    QT_TRANSLATE_NOOP("Wirtola", "W folderze gry nie mogę zapisywać, więc wyniki zapisuję w %1");
// Follows one of the two above; the help names the old file.
constexpr const char* OldFileKept = QT_TRANSLATE_NOOP("Wirtola", "; dawny plik bez zmian");
// %1 is the folder, %2 the cause.
constexpr const char* NotSavingTo = QT_TRANSLATE_NOOP("Wirtola", "Nie zapisuję wyników w %1: %2");
// %1 is the file.
constexpr const char* FileTooBig =
    QT_TRANSLATE_NOOP("Wirtola",
                      "Plik wyników %1 jest większy niż 1 MiB, więc nie jest plikiem tej gry.\r"
                      "Zostawiam go bez zmian i gram bez zapisywania wyników.");
constexpr const char* CauseReadOnly = QT_TRANSLATE_NOOP("Wirtola", "plik tylko do odczytu");
constexpr const char* CauseNoPermission = QT_TRANSLATE_NOOP("Wirtola", "brak uprawnień do zapisu");
constexpr const char* CauseNoSpace = QT_TRANSLATE_NOOP("Wirtola", "brak miejsca na dysku");
constexpr const char* CauseReadOnlyDisk = QT_TRANSLATE_NOOP("Wirtola", "dysk tylko do odczytu");
constexpr const char* CauseNotAFile = QT_TRANSLATE_NOOP("Wirtola", "nie jest plikiem");
constexpr const char* CauseTooBig = QT_TRANSLATE_NOOP("Wirtola", "plik za duży");
constexpr const char* CauseForeignEntry = QT_TRANSLATE_NOOP("Wirtola", "cudzy plik w folderze");
constexpr const char* CauseForeignFolder = QT_TRANSLATE_NOOP("Wirtola", "folder wyników nie jest tylko Twój");
constexpr const char* CauseNameChanged = QT_TRANSLATE_NOOP("Wirtola", "plik podmieniony");
constexpr const char* CauseNoFolder = QT_TRANSLATE_NOOP("Wirtola", "brak folderu na wyniki");
constexpr const char* CauseOtherGame = QT_TRANSLATE_NOOP("Wirtola", "wyniki prowadzi inna gra");
// The record of play. %1 is the name the damaged record was kept under.
constexpr const char* HistoryRenewed =
    QT_TRANSLATE_NOOP("Wirtola", "  Historia rozdań była uszkodzona: zachowana jako %1, zaczęta nowa");
constexpr const char* HistoryFailed = QT_TRANSLATE_NOOP("Wirtola", "  Historia rozdań nie jest zapisywana");
// The record set aside for a new one at the player's asking: where the old one is kept.
constexpr const char* HistoryAfresh = QT_TRANSLATE_NOOP("Wirtola", "  Zaczęta nowa historia rozdań");
constexpr const char* HistoryAfreshFailed =
    QT_TRANSLATE_NOOP("Wirtola", "  Nie udało się zacząć nowej historii rozdań");
constexpr const char* HistoryKeptAs = QT_TRANSLATE_NOOP("Wirtola", "; dotychczasowa zachowana jako %1");
constexpr const char* HistoryNewer =
    QT_TRANSLATE_NOOP("Wirtola", "  Historia rozdań pochodzi z nowszej wersji gry: nie jest zapisywana");
constexpr const char* HistoryRestarted =
    QT_TRANSLATE_NOOP("Wirtola", "  Plik historii rozdań zniknął lub został podmieniony: zaczęta nowa historia");
// %1 is where the record is kept instead.
constexpr const char* HistoryPrivate =
    QT_TRANSLATE_NOOP("Wirtola", "  Historia rozdań jest w %1, bo folder gry jest wspólny");
constexpr const char* CauseFailed = QT_TRANSLATE_NOOP("Wirtola", "błąd zapisu na dysk");

} // namespace texts
