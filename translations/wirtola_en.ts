<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Karty</name>
    <message>
        <source>dwójka</source>
        <translation>two</translation>
    </message>
    <message>
        <source>trójka</source>
        <translation>three</translation>
    </message>
    <message>
        <source>czwórka</source>
        <translation>four</translation>
    </message>
    <message>
        <source>piątka</source>
        <translation>five</translation>
    </message>
    <message>
        <source>szóstka</source>
        <translation>six</translation>
    </message>
    <message>
        <source>siódemka</source>
        <translation>seven</translation>
    </message>
    <message>
        <source>ósemka</source>
        <translation>eight</translation>
    </message>
    <message>
        <source>dziewiątka</source>
        <translation>nine</translation>
    </message>
    <message>
        <source>dziesiątka</source>
        <translation>ten</translation>
    </message>
    <message>
        <source>walet</source>
        <translation>jack</translation>
    </message>
    <message>
        <source>dama</source>
        <translation>queen</translation>
    </message>
    <message>
        <source>król</source>
        <translation>king</translation>
    </message>
    <message>
        <source>as</source>
        <translation>ace</translation>
    </message>
    <message>
        <source>trefl</source>
        <translation>clubs</translation>
    </message>
    <message>
        <source>karo</source>
        <translation>diamonds</translation>
    </message>
    <message>
        <source>kier</source>
        <translation>hearts</translation>
    </message>
    <message>
        <source>pik</source>
        <translation>spades</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>karta zakryta</source>
        <translation>face-down card</translation>
    </message>
    <message>
        <source>Twoja karta %1</source>
        <translation>your card %1</translation>
    </message>
    <message>
        <source>karta komputera %1</source>
        <translation>computer&apos;s card %1</translation>
    </message>
    <message>
        <source>do wymiany</source>
        <translation>marked for exchange</translation>
    </message>
    <message>
        <source>dwójki</source>
        <translation>twos</translation>
    </message>
    <message>
        <source>trójki</source>
        <translation>threes</translation>
    </message>
    <message>
        <source>czwórki</source>
        <translation>fours</translation>
    </message>
    <message>
        <source>piątki</source>
        <translation>fives</translation>
    </message>
    <message>
        <source>szóstki</source>
        <translation>sixes</translation>
    </message>
    <message>
        <source>siódemki</source>
        <translation>sevens</translation>
    </message>
    <message>
        <source>ósemki</source>
        <translation>eights</translation>
    </message>
    <message>
        <source>dziewiątki</source>
        <translation>nines</translation>
    </message>
    <message>
        <source>dziesiątki</source>
        <translation>tens</translation>
    </message>
    <message>
        <source>walety</source>
        <translation>jacks</translation>
    </message>
    <message>
        <source>damy</source>
        <translation>queens</translation>
    </message>
    <message>
        <source>króle</source>
        <translation>kings</translation>
    </message>
    <message>
        <source>asy</source>
        <translation>aces</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, %2 i %3</source>
        <translation>%1, %2 and %3</translation>
    </message>
    <message>
        <source>%1, najwyżej %2</source>
        <translation>%1, %2 high</translation>
    </message>
    <message>
        <source>W</source>
        <translation>J</translation>
    </message>
    <message>
        <source>D</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>%1, %2, najwyżej %3</source>
        <translation>%1, %2, %3 high</translation>
    </message>
</context>
<context>
    <name>Nagroda</name>
    <message>
        <source>Gratulacje!</source>
        <translation>Congratulations!</translation>
    </message>
    <message>
        <source>Fundusz podwojony: 6000 zł!</source>
        <translation>Your fund has doubled: 6000 zł!</translation>
    </message>
    <message>
        <source>Mistrzowska gra!</source>
        <translation>Masterly play!</translation>
    </message>
    <message>
        <source>Z 3000 zł wyrosło 6000 zł. Bank chyli czoła!</source>
        <translation>3000 zł grew into 6000 zł. The bank tips its hat!</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>W</source>
        <translation>J</translation>
    </message>
    <message>
        <source>D</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
</context>
<context>
    <name>Wirtola</name>
    <message>
        <source>Wirtola wer. %1</source>
        <translation>Wirtola version %1</translation>
    </message>
    <message>
        <source>&amp;Rozdanie kart</source>
        <translation>&amp;Deal cards</translation>
    </message>
    <message>
        <source>Kup&amp;no i licytacja</source>
        <translation>Draw a&amp;nd bet</translation>
    </message>
    <message>
        <source>Stawka:</source>
        <translation>Stake:</translation>
    </message>
    <message>
        <source>Fundusz:</source>
        <translation>Fund:</translation>
    </message>
    <message>
        <source>Stawka</source>
        <translation>Stake</translation>
    </message>
    <message>
        <source>Fundusz</source>
        <translation>Fund</translation>
    </message>
    <message>
        <source>Zwiększ stawkę</source>
        <translation>Raise the stake</translation>
    </message>
    <message>
        <source>Zmniejsz stawkę</source>
        <translation>Lower the stake</translation>
    </message>
    <message>
        <source>Zostaw %1</source>
        <translation>Keep %1</translation>
    </message>
    <message>
        <source>&amp;Ustawienia   </source>
        <translation>&amp;Settings   </translation>
    </message>
    <message>
        <source>&amp;Dzwięki włączone</source>
        <translation>&amp;Sounds on</translation>
    </message>
    <message>
        <source>P&amp;ożyczka z banku</source>
        <translation>&amp;Loan from the bank</translation>
    </message>
    <message>
        <source>&amp;Pomoc    </source>
        <translation>&amp;Help    </translation>
    </message>
    <message>
        <source>&amp;Koniec</source>
        <translation>&amp;Quit</translation>
    </message>
    <message numerus="yes">
        <source>Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3</source>
        <translation>
            <numerusform>%1 round won or lost (%2 won, %3 lost)</numerusform>
            <numerusform>%1 rounds won or lost (%2 won, %3 lost)</numerusform>
        </translation>
    </message>
    <message>
        <source>Oferowana przez Ciebie stawka przekracza stan Twojego funduszu.<byte value="xd"/>Proszę wstaw właściwą stawkę</source>
        <translation>The stake you offer is more than your fund.<byte value="xd"/>Please enter a stake your fund can cover</translation>
    </message>
    <message>
        <source>W okienku &quot;Stawka&quot; wstaw dowolną kwotę, która jednak nie przekroczy Twojego funduszu.</source>
        <translation>In the &quot;Stake&quot; field enter any amount that is not more than your fund.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku.</source>
        <translation>Your fund is exhausted – please arrange a loan from the bank.</translation>
    </message>
    <message>
        <source>Kliknij OK to potasuję i rozdam ponownie.</source>
        <translation>Click OK and I will shuffle and deal again.</translation>
    </message>
    <message>
        <source>Pytanie o grę</source>
        <translation>Play on?</translation>
    </message>
    <message>
        <source>Czy chcesz kontynuować grę ?</source>
        <translation>Do you want to play on?</translation>
    </message>
    <message>
        <source>Gratulacje Wygrałeś !</source>
        <translation>Congratulations, you won!</translation>
    </message>
    <message>
        <source>Tym razem zwycięzcą został Komputer!</source>
        <translation>This time the computer is the winner!</translation>
    </message>
    <message>
        <source>Gratulacje  - Wygrałeś!</source>
        <translation>Congratulations – you won!</translation>
    </message>
    <message>
        <source>Tym razem wygrał komputer!</source>
        <translation>This time the computer won!</translation>
    </message>
    <message>
        <source>Obie strony czekały - rozdanie jest więc nierozstrzygnięte!</source>
        <translation>Both hands are equal – so the deal is undecided!</translation>
    </message>
    <message>
        <source>Wygrałeś złotych polskich  %1</source>
        <translation>You have won %1 Polish złoty</translation>
    </message>
    <message>
        <source>Przykro mi ale Przegrałeś zł.  %1</source>
        <translation>Sorry, but you have lost %1 zł</translation>
    </message>
    <message>
        <source>Tym razem Wygrałeś zł. %1</source>
        <translation>This time you have won %1 zł</translation>
    </message>
    <message>
        <source>Znaj moją Łaskawość - Udzieliłem pożyczki %1 zł.</source>
        <translation>Behold my Graciousness – I have granted you a loan of %1 zł.</translation>
    </message>
    <message>
        <source>Twoje karty: %1</source>
        <translation>Your cards: %1</translation>
    </message>
    <message>
        <source>Komputer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Ty</source>
        <translation>You</translation>
    </message>
    <message>
        <source>%1: %2: %3.</source>
        <translation>%1: %2: %3.</translation>
    </message>
    <message>
        <source>wysoka karta</source>
        <translation>high card</translation>
    </message>
    <message>
        <source>para</source>
        <translation>one pair</translation>
    </message>
    <message>
        <source>dwie pary</source>
        <translation>two pair</translation>
    </message>
    <message>
        <source>trójka</source>
        <translation>three of a kind</translation>
    </message>
    <message>
        <source>strit</source>
        <translation>straight</translation>
    </message>
    <message>
        <source>kolor</source>
        <translation>flush</translation>
    </message>
    <message>
        <source>full</source>
        <translation>full house</translation>
    </message>
    <message>
        <source>kareta</source>
        <translation>four of a kind</translation>
    </message>
    <message>
        <source>poker</source>
        <translation>straight flush</translation>
    </message>
    <message>
        <source>poker królewski</source>
        <translation>royal flush</translation>
    </message>
    <message>
        <source>Nie udało się zapisać wyników gry</source>
        <translation>The scores could not be saved</translation>
    </message>
    <message>
        <source>Zakończyć grę bez zapisu?</source>
        <translation>End the game without saving?</translation>
    </message>
    <message>
        <source>Folder gry jest wspólny, więc wyniki zapisuję w %1</source>
        <translation>The game&apos;s folder is shared, so I keep your scores in %1</translation>
    </message>
    <message>
        <source>plik tylko do odczytu</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>brak uprawnień do zapisu</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>brak miejsca na dysku</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>dysk tylko do odczytu</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>nie jest plikiem</source>
        <translation>not a file</translation>
    </message>
    <message>
        <source>cudzy plik w folderze</source>
        <translation>someone else&apos;s file in the folder</translation>
    </message>
    <message>
        <source>plik podmieniony</source>
        <translation>the file was replaced</translation>
    </message>
    <message>
        <source>brak folderu na wyniki</source>
        <translation>no folder for the scores</translation>
    </message>
    <message>
        <source>błąd zapisu na dysk</source>
        <translation>error writing to the disk</translation>
    </message>
    <message>
        <source>Wirtola</source>
        <translation>Wirtola</translation>
    </message>
    <message>
        <source>Wirtola jest już uruchomiona z tym samym plikiem wyników.<byte value="xd"/>Zakończ tamtą grę, zanim zaczniesz nową.</source>
        <translation>Wirtola is already running with the same scores file.<byte value="xd"/>Quit that game before you start a new one.</translation>
    </message>
    <message>
        <source>Plik blokady wyników gry jest dowiązaniem albo należy do innego użytkownika:<byte value="xd"/>%1<byte value="xd"/>Usuń go, zanim zaczniesz grę.</source>
        <translation>The lock file of the scores is a link or belongs to another user:<byte value="xd"/>%1<byte value="xd"/>Remove it before you start the game.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Tak</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Nie</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Nieoczekiwany błąd</source>
        <translation>Unexpected error</translation>
    </message>
    <message>
        <source>Pomoc</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&lt;Esc&gt; zamyka to okno</source>
        <translation>&lt;Esc&gt; closes this window</translation>
    </message>
    <message>
        <source>Plik nazywa się tak jak program, tylko ma rozszerzenie „.ini”, i leży tuż obok niego: %1.</source>
        <translation>The file has the program&apos;s name with the extension &quot;.ini&quot;, and lies right beside it: %1.</translation>
    </message>
    <message>
        <source>Gloria !!!</source>
        <translation>Gloria !!!</translation>
    </message>
    <message>
        <source>Dowolny klawisz kończy i zamyka to okno</source>
        <translation>Any key ends the game and closes this window</translation>
    </message>
    <message>
        <source>&amp;Amen</source>
        <translation>&amp;Amen</translation>
    </message>
    <message>
        <source>Podanie</source>
        <translation>Petition</translation>
    </message>
    <message>
        <source>Wspomóż sługę Twego stosownym funduszem</source>
        <translation>Support Thy servant with a fitting fund</translation>
    </message>
    <message>
        <source>Wielce Miłościwy Panie</source>
        <translation>Most Gracious Lord</translation>
    </message>
    <message>
        <source>A&amp;men</source>
        <translation>A&amp;men</translation>
    </message>
    <message>
        <source>W folderze gry nie mogę zapisywać, więc wyniki zapisuję w %1</source>
        <translation>The game&apos;s folder cannot be written, so I keep the scores in %1</translation>
    </message>
    <message>
        <source>; dawny plik bez zmian</source>
        <translation>; the old file left as it was</translation>
    </message>
    <message>
        <source>Nie zapisuję wyników w %1: %2</source>
        <translation>Not saving the scores in %1: %2</translation>
    </message>
    <message>
        <source>Plik wyników %1 jest większy niż 1 MiB, więc nie jest plikiem tej gry.<byte value="xd"/>Zostawiam go bez zmian i gram bez zapisywania wyników.</source>
        <translation>The scores file %1 is larger than 1 MiB, so it is not this game&apos;s file.<byte value="xd"/>I leave it as it is and play without saving the scores.</translation>
    </message>
    <message>
        <source>plik za duży</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>folder wyników nie jest tylko Twój</source>
        <translation>the scores folder is not yours alone</translation>
    </message>
    <message>
        <source>Dawny plik wyników obok programu, %1, zostaje bez zmian; wyniki tej gry trafiają do pliku podanego wyżej.</source>
        <translation>The old scores file beside the program, %1, is left as it was; this game&apos;s scores go to the file named above.</translation>
    </message>
    <message>
        <source>  Nie zapisano: %1</source>
        <translation>  Not saved: %1</translation>
    </message>
    <message>
        <source>wyniki prowadzi inna gra</source>
        <translation>another game keeps these scores</translation>
    </message>
    <message>
        <source>Każdy z Was ma własny plik wyników w swoim folderze danych, ten tutaj: %1.</source>
        <translation>Each of you has a scores file of your own in your data folder, this one: %1.</translation>
    </message>
    <message>
        <source>Tym razem nie wiadomo, gdzie miałby leżeć, bo system nie zna Waszego folderu domowego.</source>
        <translation>This time nobody knows where it would be, because the system does not know your home folder.</translation>
    </message>
    <message>
        <source>Poker pięciokartowy z wymianą: Ty przeciw komputerowi.</source>
        <translation>Five-card draw poker: you against the computer.</translation>
    </message>
    <message>
        <source>Wypisuje historię rozdań jako CSV: wiersz nagłówka, potem wiersz na rozdanie i na zdarzenie (pożyczkę, nagrodę, nową grę).</source>
        <translation>Prints the history of rounds as CSV: a header line, then one line per round and per event (a loan, the reward, a new game).</translation>
    </message>
    <message>
        <source>Wypisuje ten opis.</source>
        <translation>Prints this description.</translation>
    </message>
    <message>
        <source>Wypisuje wersję programu.</source>
        <translation>Prints the program&apos;s version.</translation>
    </message>
    <message>
        <source>&amp;Statystyka</source>
        <translation>S&amp;tatistics</translation>
    </message>
    <message>
        <source>  Historia rozdań była uszkodzona: zachowana jako %1, zaczęta nowa</source>
        <translation>  The history of rounds was damaged: kept as %1, a new one started</translation>
    </message>
    <message>
        <source>  Historia rozdań nie jest zapisywana</source>
        <translation>  The history of rounds is not being kept</translation>
    </message>
    <message>
        <source>Statystyka</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>pl</source>
        <translation>en</translation>
    </message>
    <message>
        <source>Ta gra</source>
        <translation>This game</translation>
    </message>
    <message>
        <source>Wyniki</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Układy</source>
        <translation>Hands</translation>
    </message>
    <message>
        <source>Fundusz w kolejnych rozdaniach</source>
        <translation>Fund round by round</translation>
    </message>
    <message>
        <source>Rozegrane rozdania</source>
        <translation>Rounds played</translation>
    </message>
    <message>
        <source>Wygrane</source>
        <translation>Won</translation>
    </message>
    <message>
        <source>Przegrane</source>
        <translation>Lost</translation>
    </message>
    <message>
        <source>Remisy</source>
        <translation>Tied</translation>
    </message>
    <message>
        <source>Największa wygrana</source>
        <translation>Biggest win</translation>
    </message>
    <message>
        <source>Największa przegrana</source>
        <translation>Biggest loss</translation>
    </message>
    <message>
        <source>Najdłuższa seria wygranych</source>
        <translation>Longest winning run</translation>
    </message>
    <message>
        <source>Najdłuższa seria przegranych</source>
        <translation>Longest losing run</translation>
    </message>
    <message>
        <source>Pożyczki</source>
        <translation>Loans</translation>
    </message>
    <message>
        <source>Najlepszy układ</source>
        <translation>Best hand</translation>
    </message>
    <message>
        <source>Rozdane,
ta gra</source>
        <translation>Dealt,
this game</translation>
    </message>
    <message>
        <source>Szansa
w rozdaniu</source>
        <translation>Chance
in a deal</translation>
    </message>
    <message>
        <source>Po wymianie,
ta gra</source>
        <translation>After the draw,
this game</translation>
    </message>
    <message>
        <source>%1 zł</source>
        <translation>%1 zł</translation>
    </message>
    <message>
        <source>Jeszcze nie rozegrano żadnego rozdania.</source>
        <translation>No round has been played yet.</translation>
    </message>
    <message>
        <source>P</source>
        <translation>L</translation>
    </message>
    <message>
        <source>N</source>
        <translation>R</translation>
    </message>
    <message>
        <source>▲ P pożyczka   ● N nagroda</source>
        <translation>▲ L loan   ● R reward</translation>
    </message>
    <message>
        <source>Fundusz: %1 zł. Wygrane %2, przegrane %3.</source>
        <translation>Fund: %1 zł. Won %2, lost %3.</translation>
    </message>
    <message>
        <source>Wygrane i przegrane liczą się od nowa.</source>
        <translation>Rounds won and lost are counted afresh.</translation>
    </message>
    <message>
        <source>Tekst pomocy</source>
        <translation>Help text</translation>
    </message>
    <message>
        <source>Gratulacje! Fundusz podwojony: 6000 zł! Mistrzowska gra! Z 3000 zł wyrosło 6000 zł. Bank chyli czoła!</source>
        <translation>Congratulations! Your fund has doubled: 6000 zł! Masterly play! 3000 zł grew into 6000 zł. The bank tips its hat!</translation>
    </message>
    <message>
        <source>Dowolny klawisz zamyka to okno i kończy grę; następna zacznie się od 3000 zł.</source>
        <translation>Any key closes this window and ends the game; the next one starts at 3000 zł.</translation>
    </message>
    <message>
        <source>wirtola: nieznana opcja &apos;%1&apos;</source>
        <translation>wirtola: unrecognized option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>wirtola: opcja &apos;%1&apos; nie przyjmuje wartości</source>
        <translation>wirtola: option &apos;%1&apos; doesn&apos;t allow an argument</translation>
    </message>
    <message>
        <source>wirtola: opcja &apos;%1&apos; wymaga wartości</source>
        <translation>wirtola: option &apos;%1&apos; requires an argument</translation>
    </message>
    <message>
        <source>wirtola: nieoczekiwany argument &apos;%1&apos;</source>
        <translation>wirtola: unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Spróbuj &apos;wirtola --help&apos;</source>
        <translation>Try &apos;wirtola --help&apos;</translation>
    </message>
    <message>
        <source>Licencja GPL-3.0-or-later: GNU GPL w wersji 3 lub późniejszej &lt;https://gnu.org/licenses/gpl.html&gt;</source>
        <translation>License GPL-3.0-or-later: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;</translation>
    </message>
    <message>
        <source>wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)</source>
        <translation>wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)</translation>
    </message>
    <message>
        <source>wirtola: połączenie z ekranem zostało przerwane</source>
        <translation>wirtola: the connection to the display was lost</translation>
    </message>
    <message>
        <source>Wszystkie gry</source>
        <translation>All games</translation>
    </message>
    <message>
        <source>rozdanie</source>
        <translation>round</translation>
    </message>
    <message>
        <source>Odsetek wygranych</source>
        <translation>Win rate</translation>
    </message>
    <message>
        <source>Rozdane,
wszystkie gry</source>
        <translation>Dealt,
all games</translation>
    </message>
    <message>
        <source>Po wymianie,
wszystkie gry</source>
        <translation>After the draw,
all games</translation>
    </message>
    <message numerus="yes">
        <source>%n rozdań</source>
        <translation>
            <numerusform>%n round</numerusform>
            <numerusform>%n rounds</numerusform>
        </translation>
    </message>
    <message>
        <source>wirtola: nie można odczytać całej historii rozdań %1: %2</source>
        <translation>wirtola: cannot read the whole record of play %1: %2</translation>
    </message>
    <message>
        <source>plik jest uszkodzony</source>
        <translation>the file is damaged</translation>
    </message>
    <message>
        <source>to nie jest historia rozdań Wirtoli</source>
        <translation>it is not a Wirtola record of play</translation>
    </message>
    <message>
        <source>zapisała ją nowsza wersja gry</source>
        <translation>a newer version of the game wrote it</translation>
    </message>
    <message>
        <source>to dowiązanie, plik innego użytkownika albo nie plik</source>
        <translation>it is a link, another user&apos;s file or not a file</translation>
    </message>
    <message>
        <source>nie można jej otworzyć</source>
        <translation>it cannot be opened</translation>
    </message>
    <message>
        <source>wirtola: nie można wypisać historii rozdań: %1</source>
        <translation>wirtola: cannot write the record of play: %1</translation>
    </message>
    <message>
        <source>  Historia rozdań pochodzi z nowszej wersji gry: nie jest zapisywana</source>
        <translation>  The record of play comes from a newer version of the game: it is not kept</translation>
    </message>
    <message>
        <source>  Plik historii rozdań zniknął lub został podmieniony: zaczęta nowa historia</source>
        <translation>  The record of play was deleted or replaced: a new one was started</translation>
    </message>
    <message>
        <source>  Historia rozdań jest w %1, bo folder gry jest wspólny</source>
        <translation>  The record of play is kept in %1, as the game&apos;s folder is shared</translation>
    </message>
    <message numerus="yes">
        <source>Ta gra (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</source>
        <translation>
            <numerusform>This game (%n round): fund from %1 to %2 zł, lowest %3 zł, highest %4 zł.</numerusform>
            <numerusform>This game (%n rounds): fund from %1 to %2 zł, lowest %3 zł, highest %4 zł.</numerusform>
        </translation>
    </message>
    <message>
        <source>Ta gra: jeszcze bez rozdań.</source>
        <translation>This game: no rounds yet.</translation>
    </message>
    <message>
        <source>pożyczka po %1. rozdaniu</source>
        <translation>loan after round %1</translation>
    </message>
    <message>
        <source>nagroda po %1. rozdaniu</source>
        <translation>reward after round %1</translation>
    </message>
    <message>
        <source>pożyczka przed pierwszym rozdaniem</source>
        <translation>loan before the first round</translation>
    </message>
    <message numerus="yes">
        <source>i %n więcej</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>brak</source>
        <translation>none</translation>
    </message>
    <message numerus="yes">
        <source>Wszystkie gry (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</source>
        <translation>
            <numerusform>All games (%n round): fund from %1 to %2 zł, lowest %3 zł, highest %4 zł.</numerusform>
            <numerusform>All games (%n rounds): fund from %1 to %2 zł, lowest %3 zł, highest %4 zł.</numerusform>
        </translation>
    </message>
    <message>
        <source>  Zaczęta nowa historia rozdań</source>
        <translation>  A new record of play was started</translation>
    </message>
    <message>
        <source>  Nie udało się zacząć nowej historii rozdań</source>
        <translation>  A new record of play could not be started</translation>
    </message>
    <message>
        <source>; dotychczasowa zachowana jako %1</source>
        <translation>; the old one is kept as %1</translation>
    </message>
    <message>
        <source>Czas</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Rozdane</source>
        <translation>Dealt</translation>
    </message>
    <message>
        <source>Po wymianie</source>
        <translation>After the draw</translation>
    </message>
    <message>
        <source>Wynik</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Kwota</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>wygrana</source>
        <translation>won</translation>
    </message>
    <message>
        <source>przegrana</source>
        <translation>lost</translation>
    </message>
    <message>
        <source>remis</source>
        <translation>tie</translation>
    </message>
    <message>
        <source>pożyczka</source>
        <translation>loan</translation>
    </message>
    <message>
        <source>nagroda</source>
        <translation>reward</translation>
    </message>
    <message>
        <source>nowa gra</source>
        <translation>new game</translation>
    </message>
    <message>
        <source>stan z pliku wyników</source>
        <translation>totals from the scores file</translation>
    </message>
    <message>
        <source>%1, stawka %2 zł: Twoje karty %3; po wymianie %4; komputer %5; %6, fundusz %7 zł</source>
        <translation>%1, stake %2 zł: your cards %3; after the draw %4; the computer %5; %6, fund %7 zł</translation>
    </message>
    <message>
        <source>wygrana %1 zł</source>
        <translation>won %1 zł</translation>
    </message>
    <message>
        <source>przegrana %1 zł</source>
        <translation>lost %1 zł</translation>
    </message>
    <message>
        <source>%1: %2, fundusz %3 zł</source>
        <translation>%1: %2, fund %3 zł</translation>
    </message>
    <message>
        <source>wirtola-historia-%1.csv</source>
        <translation>wirtola-history-%1.csv</translation>
    </message>
    <message>
        <source>Eksport historii rozdań</source>
        <translation>Export the record of play</translation>
    </message>
    <message>
        <source>Pliki CSV (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Nie zapisano historii rozdań w %1: %2</source>
        <translation>The record of play was not saved to %1: %2</translation>
    </message>
    <message>
        <source>nie można odczytać całej historii rozdań: %1</source>
        <translation>the whole record of play cannot be read: %1</translation>
    </message>
    <message>
        <source>&amp;Podsumowanie</source>
        <translation>&amp;Summary</translation>
    </message>
    <message>
        <source>&amp;Historia rozdań</source>
        <translation>&amp;Log of rounds</translation>
    </message>
    <message>
        <source>Rozdania, od najnowszego</source>
        <translation>Rounds, newest first</translation>
    </message>
    <message>
        <source>&amp;Eksportuj…</source>
        <translation>&amp;Export…</translation>
    </message>
    <message>
        <source>&amp;Nowa historia…</source>
        <translation>&amp;New record…</translation>
    </message>
    <message>
        <source>Historia rozdań zapisana w %1</source>
        <translation>The record of play was saved to %1</translation>
    </message>
    <message>
        <source>Zacząć nową, pustą historię rozdań? Dotychczasowa zostanie zachowana w pliku obok, z datą w nazwie. Fundusz, wygrane i przegrane się nie zmienią.</source>
        <translation>Start a new, empty record of play? The old one will be kept in a file beside it, with the date in its name. The fund and the rounds won and lost will not change.</translation>
    </message>
    <message>
        <source>Wypisuje jako CSV szanse każdej z 32 wymian dla pięciu kart (np. &quot;2h 2d 7c 9s Kd&quot;), najlepszą najpierw.</source>
        <translation>Prints as CSV the odds of each of the 32 ways to draw to five cards (e.g. &quot;2h 2d 7c 9s Kd&quot;), best first.</translation>
    </message>
    <message>
        <source>karty</source>
        <translation>cards</translation>
    </message>
    <message>
        <source>--hint: potrzeba pięciu kart, podano %1</source>
        <translation>--hint: five cards are needed, %1 given</translation>
    </message>
    <message>
        <source>--hint: nieznana karta &quot;%1&quot; (karty jak 2c, Td, Qh, As)</source>
        <translation>--hint: unknown card &quot;%1&quot; (cards such as 2c, Td, Qh, As)</translation>
    </message>
    <message>
        <source>--hint: karta &quot;%1&quot; podana dwa razy</source>
        <translation>--hint: the card &quot;%1&quot; is given twice</translation>
    </message>
    <message>
        <source>&amp;Podpowiedź</source>
        <translation>&amp;Hint</translation>
    </message>
    <message>
        <source>Podpowiedź</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>Najlepsze wymiany</source>
        <translation>Best draws</translation>
    </message>
    <message>
        <source>Zostaw</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>Wygrana</source>
        <translation>Win</translation>
    </message>
    <message>
        <source>Remis</source>
        <translation>Tie</translation>
    </message>
    <message>
        <source>Przegrana</source>
        <translation>Loss</translation>
    </message>
    <message>
        <source>Średnio</source>
        <translation>On average</translation>
    </message>
    <message>
        <source>nic (wymiana wszystkich)</source>
        <translation>nothing (draw five)</translation>
    </message>
    <message>
        <source>&amp;Zaznacz najlepszą</source>
        <translation>&amp;Mark the best</translation>
    </message>
    <message>
        <source>Twój wybór</source>
        <translation>Your choice</translation>
    </message>
    <message>
        <source>Twój wybór: miejsce %1 z %2.</source>
        <translation>Your choice: place %1 of %2.</translation>
    </message>
    <message>
        <source>Liczę…</source>
        <translation>Working it out…</translation>
    </message>
    <message>
        <source>Podpowiedź jest po rozdaniu kart, do wymiany.</source>
        <translation>The hint is there after a deal, until the draw.</translation>
    </message>
    <message>
        <source>Zostaw: %1</source>
        <translation>Keep: %1</translation>
    </message>
    <message>
        <source>Wymień wszystkie karty</source>
        <translation>Draw five new cards</translation>
    </message>
    <message>
        <source>%1 – wygrana %2, remis %3, przegrana %4, średnio %5</source>
        <translation>%1 – win %2, tie %3, loss %4, on average %5</translation>
    </message>
    <message>
        <source>Wymiany wobec najlepszej</source>
        <translation>Draws against the best</translation>
    </message>
    <message>
        <source>Wszystkie układy</source>
        <translation>All hands</translation>
    </message>
    <message>
        <source>Najlepsze,
ta gra</source>
        <translation>Best,
this game</translation>
    </message>
    <message>
        <source>Najlepsze,
wszystkie gry</source>
        <translation>Best,
all games</translation>
    </message>
    <message>
        <source>Oddane średnio,
ta gra</source>
        <translation>Expected given away,
this game</translation>
    </message>
    <message>
        <source>Oddane średnio,
wszystkie gry</source>
        <translation>Expected given away,
all games</translation>
    </message>
    <message>
        <source>%1 z %2 (%3)</source>
        <translation>%1 of %2 (%3)</translation>
    </message>
    <message numerus="yes">
        <source>%n najlepszych wymian z %1 ocenionych, %2</source>
        <translation>
            <numerusform>%n best draw of %1 judged, %2</numerusform>
            <numerusform>%n best draws of %1 judged, %2</numerusform>
        </translation>
    </message>
</context>
</TS>
