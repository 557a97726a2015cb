#pragma once

// Every text that the main window, its round flow, its closings and the program's start show or
// speak, each written once. A carriage return in a box's text is a line break; %1, %2 ... are
// filled in where the text is used.

#include <array>

namespace texts {

// The window and its controls.
constexpr const char* Caption = "Wirtola wer. " WIRTOLA_VERSION;
constexpr const char* DealButton = "&Rozdanie kart";
constexpr const char* DrawButton = "Kup&no i licytacja";
constexpr const char* StakeLabel = "Stawka:";
constexpr const char* FundLabel = "Fundusz:";
// Screen readers name the fields after their labels, without the labels' colons.
constexpr const char* StakeName = "Stawka";
constexpr const char* FundName = "Fundusz";
constexpr const char* StakeUpName = "Zwiększ stawkę";
constexpr const char* StakeDownName = "Zmniejsz stawkę";
constexpr const char* KeepBox = "Zostaw %1";
constexpr const char* SettingsMenu = "&Ustawienia   ";
constexpr const char* SoundSwitch = "&Dzwięki włączone";
constexpr const char* LoanItem = "P&ożyczka z banku";
constexpr const char* HelpItem = "&Pomoc    ";
constexpr const char* EndItem = "&Koniec";

// The round flow.
constexpr const char* StatusLine = "Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3";
constexpr const char* StakeRefused =
    "Oferowana przez Ciebie stawka przekracza stan Twojego funduszu.\rProszę wstaw właściwą stawkę";
constexpr const char* StakeHint =
    "W okienku \"Stawka\" wstaw dowolną kwotę, która jednak nie przekroczy Twojego funduszu.";
constexpr const char* NotAWholeNumber = "'%1' is not a valid integer value";
constexpr const char* FundExhausted = "Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku.";
constexpr const char* DealAgain = "Kliknij OK to potasuję i rozdam ponownie.";
constexpr const char* ContinueCaption = "Pytanie o grę";
constexpr const char* ContinueQuestion = "Czy chcesz kontynuować grę ?";
constexpr const char* LoanGranted = "Znaj moją Łaskawość - Udzieliłem pożyczki %1 zł.";

// What a screen reader says beside what the window shows: the hand after a deal, and both hands
// with the result ("Komputer: para: as pik, ..." - whose, the hand's class, the cards).
constexpr const char* YourCards = "Twoje karty: %1";
constexpr const char* ComputerSide = "Komputer";
constexpr const char* PlayerSide = "Ty";
constexpr const char* SideWords = "%1: %2: %3.";
constexpr std::array<const char*, 10> CategoryNames{"wysoka karta", "para", "dwie pary", "trójka", "strit",
                                                    "kolor",        "full", "kareta",    "poker",  "poker królewski"};

// Saving and closing.
constexpr const char* SaveFailed = "Nie udało się zapisać wyników gry";
constexpr const char* EndWithoutSaving = "Zakończyć grę bez zapisu?";
constexpr const char* SaveFailedWarning = "  Bez zapisu: %1";
constexpr const char* SharedFolderAvoided = "Folder gry jest wspólny z innymi użytkownikami, więc wyniki zapisuję w %1";
constexpr const char* CauseReadOnly = "plik tylko do odczytu";
constexpr const char* CauseNoPermission = "brak uprawnień do zapisu";
constexpr const char* CauseNoSpace = "brak miejsca na dysku";
constexpr const char* CauseReadOnlyDisk = "dysk tylko do odczytu";
constexpr const char* CauseNotAFile = "nie jest plikiem";
constexpr const char* CauseForeignEntry = "cudzy plik w folderze";
constexpr const char* CauseNameChanged = "plik podmieniony";
constexpr const char* CauseNoFolder = "brak folderu na wyniki";
constexpr const char* CauseOtherGame = "inna gra ma te wyniki";
constexpr const char* CauseFailed = "błąd zapisu na dysk";

// The program's start and end.
constexpr const char* ApplicationTitle = "Wirtola";
constexpr const char* SecondGame =
    "Wirtola jest już uruchomiona z tym samym plikiem wyników.\rZakończ tamtą grę, zanim zaczniesz nową.";
constexpr const char* LockRefused =
    "Plik blokady wyników gry jest dowiązaniem albo należy do innego użytkownika:\r%1\rUsuń go, zanim zaczniesz grę.";
constexpr const char* DisplayLost = "połączenie z ekranem zostało przerwane";

} // namespace texts
