<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="pl">
<context>
    <name>Wirtola</name>
    <message numerus="yes">
        <source>Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3</source>
        <translation>
            <numerusform>Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3</numerusform>
            <numerusform>Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3</numerusform>
            <numerusform>Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n rozdań</source>
        <translation>
            <numerusform>%n rozdanie</numerusform>
            <numerusform>%n rozdania</numerusform>
            <numerusform>%n rozdań</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Ta gra (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</source>
        <translation>
            <numerusform>Ta gra, %n rozdanie: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
            <numerusform>Ta gra, %n rozdania: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
            <numerusform>Ta gra, %n rozdań: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Wszystkie gry (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</source>
        <translation>
            <numerusform>Wszystkie gry, %n rozdanie: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
            <numerusform>Wszystkie gry, %n rozdania: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
            <numerusform>Wszystkie gry, %n rozdań: fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>i %n więcej</source>
        <translation>
            <numerusform>i %n więcej</numerusform>
            <numerusform>i %n więcej</numerusform>
            <numerusform>i %n więcej</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n najlepszych wymian z %1 ocenionych, %2</source>
        <translation>
            <numerusform>%n najlepsza wymiana z %1 ocenionych, %2</numerusform>
            <numerusform>%n najlepsze wymiany z %1 ocenionych, %2</numerusform>
            <numerusform>%n najlepszych wymian z %1 ocenionych, %2</numerusform>
        </translation>
    </message>
</context>
</TS>
