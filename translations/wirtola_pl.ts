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
</context>
</TS>
