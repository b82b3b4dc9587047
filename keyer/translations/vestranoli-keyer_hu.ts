<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu" sourcelanguage="en">
<context>
    <name>KeyArea</name>
    <message>
        <source>Click here to key</source>
        <translation>Kattintson ide a billentyűzéshez</translation>
    </message>
    <message>
        <source>Key here: hold the mouse button, or use the keys listed below</source>
        <translation>Itt lehet billentyűzni: tartsa lenyomva az egérgombot, vagy használja a lent felsorolt billentyűket</translation>
    </message>
    <message>
        <source>Key here</source>
        <translation>Itt billentyűzzön</translation>
    </message>
</context>
<context>
    <name>KeyerWindow</name>
    <message>
        <source>Vestranoli keyer</source>
        <translation>Vestranoli billentyűző</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Line:</source>
        <translation>Vonal:</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Üzemmód:</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Sebesség:</translation>
    </message>
    <message>
        <source>Pause:</source>
        <translation>Szünet:</translation>
    </message>
    <message>
        <source>Tone:</source>
        <translation>Hang:</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Hangerő:</translation>
    </message>
    <message>
        <source>Space bar, or the mouse on the key: straight key
Left Ctrl or [: dot paddle; right Ctrl or ]: dash paddle
. and -: a dot and a dash</source>
        <translation>Szóköz, vagy az egér a billentyűn: egyenes billentyű
Bal Ctrl vagy [: pont lapát; jobb Ctrl vagy ]: vonás lapát
. és -: egy pont és egy vonás</translation>
    </message>
    <message>
        <source>No sound output: playing silently.</source>
        <translation>Nincs hangkimenet: hang nélkül játszik.</translation>
    </message>
    <message>
        <source>%1, trainer connected</source>
        <translation>%1, az oktatóprogram csatlakozott</translation>
    </message>
    <message>
        <source>%1, open; waiting for the trainer&apos;s answer</source>
        <translation>%1, megnyitva; várakozás az oktatóprogram válaszára</translation>
    </message>
    <message>
        <source>%1, waiting for the trainer</source>
        <translation>%1, várakozás az oktatóprogramra</translation>
    </message>
    <message>
        <source>no run yet</source>
        <translation>még nem volt gyakorlás</translation>
    </message>
    <message>
        <source>copy: listen and write down</source>
        <translation>vétel: hallgassa és írja le</translation>
    </message>
    <message>
        <source>echo: key each group back</source>
        <translation>oda - vissza: adja vissza a csoportokat</translation>
    </message>
    <message>
        <source>%1 letters per minute (dot %2 ms)</source>
        <translation>%1 betű percenként (pont: %2 ms)</translation>
    </message>
    <message>
        <source>%1 s after each group</source>
        <translation>%1 s minden csoport után</translation>
    </message>
    <message>
        <source>nothing keyed yet</source>
        <translation>még nincs billentyűzés</translation>
    </message>
    <message>
        <source>Your keying:</source>
        <translation>Saját billentyűzésed:</translation>
    </message>
    <message>
        <source>%1 letters per minute, dash %2 dots</source>
        <translation>%1 betű percenként, a vonás %2 pont</translation>
    </message>
</context>
</TS>
