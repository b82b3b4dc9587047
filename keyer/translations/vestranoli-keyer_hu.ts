<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu" sourcelanguage="en">
<context>
    <name>KeyArea</name>
    <message>
        <location filename="../keyarea.cpp" line="60"/>
        <source>Click here to key</source>
        <translation>Kattintson ide a billentyűzéshez</translation>
    </message>
    <message>
        <location filename="../keyarea.cpp" line="12"/>
        <source>Key here: hold the mouse button, or use the keys listed below</source>
        <translation>Itt lehet billentyűzni: tartsa lenyomva az egérgombot, vagy használja a lent felsorolt billentyűket</translation>
    </message>
    <message>
        <location filename="../keyarea.cpp" line="60"/>
        <source>Key here</source>
        <translation>Itt billentyűzzön</translation>
    </message>
</context>
<context>
    <name>KeyerWindow</name>
    <message>
        <source>copy: the run is over</source>
        <translation>vétel: a futás véget ért</translation>
    </message>
    <message>
        <source>; characters at %1 asked for: below it, not used</source>
        <translation>; a kért jelsebesség (%1) ennél kisebb, ezért nem érvényes</translation>
    </message>
    <message>
        <source>ready</source>
        <translation>készen áll</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="229"/>
        <source>Its lines:</source>
        <translation>Vonalai:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="231"/>
        <source>Its lines</source>
        <translation>Vonalai</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="230"/>
        <source>Key adapter</source>
        <translation>Billentyű-adapter</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="228"/>
        <source>Key adapter:</source>
        <translation>Billentyű-adapter:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="220"/>
        <source>dot paddle on %1, dash paddle on %2</source>
        <translation>pont lapát: %1, vonás lapát: %2</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="222"/>
        <source>straight key on %1</source>
        <translation>egyenes billentyű: %1</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="225"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="224"/>
        <source> (inverted)</source>
        <translation> (fordított)</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="240"/>
        <source>%1 on</source>
        <translation>%1 be</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="240"/>
        <source>%1 off</source>
        <translation>%1 ki</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="242"/>
        <source>not connected; keying with the keyboard</source>
        <translation>nincs csatlakoztatva; billentyűzés a billentyűzettel</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="31"/>
        <source>Key the groups back in this window. If the key area does not light up when you press the space bar, click this window once.</source>
        <translation>Ebben az ablakban adja vissza a csoportokat. Ha a billentyű mezője nem világít fel a szóköz lenyomására, kattintson egyszer ebbe az ablakba.</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="39"/>
        <source>Vestranoli keyer</source>
        <translation>Vestranoli billentyűző</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="44"/>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="52"/>
        <source>Line:</source>
        <translation>Vonal:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="53"/>
        <source>Mode:</source>
        <translation>Üzemmód:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="54"/>
        <source>Speed:</source>
        <translation>Sebesség:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="55"/>
        <source>Pause:</source>
        <translation>Szünet:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="57"/>
        <source>Tone:</source>
        <translation>Hangmagasság:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="58"/>
        <source>Volume:</source>
        <translation>Hangerő:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="62"/>
        <source>Space bar, or the mouse on the key: straight key
Left Ctrl or [: dot paddle; right Ctrl or ]: dash paddle
. and -: a dot and a dash</source>
        <translation>Szóköz, vagy az egér a billentyűn: egyenes billentyű
Bal Ctrl vagy [: pont lapát; jobb Ctrl vagy ]: vonás lapát
. és -: egy pont és egy vonás</translation>
    </message>
    <message>
        <source>Sound:</source>
        <translation>Hang:</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Hang</translation>
    </message>
    <message>
        <source>playing</source>
        <translation>szól</translation>
    </message>
    <message>
        <source>resting; ready again at the next key or group</source>
        <translation>pihen; a következő billentyűre vagy csoportra újra kész</translation>
    </message>
    <message>
        <source>no sound output: playing silently, looking for it again</source>
        <translation>nincs hangkimenet: hang nélkül játszik, és újra keresi</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="97"/>
        <source>Line</source>
        <translation>Vonal</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="98"/>
        <source>Mode</source>
        <translation>Üzemmód</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="99"/>
        <source>Speed</source>
        <translation>Sebesség</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="100"/>
        <source>Pause</source>
        <translation>Szünet</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="101"/>
        <source>Your keying</source>
        <translation>Az Ön billentyűzése</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="102"/>
        <source>Tone</source>
        <translation>Hangmagasság</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="103"/>
        <source>Volume</source>
        <translation>Hangerő</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="104"/>
        <source>Key</source>
        <translation>Billentyű</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="131"/>
        <source>%1, trainer connected</source>
        <translation>%1, az oktatóprogram csatlakozott</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="133"/>
        <source>%1, open; waiting for the trainer&apos;s answer</source>
        <translation>%1, megnyitva; várakozás az oktatóprogram válaszára</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="135"/>
        <source>%1, waiting for the trainer</source>
        <translation>%1, várakozás az oktatóprogramra</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="137"/>
        <source>no run yet</source>
        <translation>még nem volt gyakorlás</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="138"/>
        <source>copy: listen and write down</source>
        <translation>vétel: hallgassa és írja le</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="146"/>
        <source>characters at %1, groups at %2 letters per minute (Farnsworth; dot %3 ms)</source>
        <translation>jelek %1, csoportok %2 betű percenként (Farnsworth; pont: %3 ms)</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="145"/>
        <source>%1 letters per minute (dot %2 ms)</source>
        <translation>%1 betű percenként (pont: %2 ms)</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="148"/>
        <source>%1 s after each group</source>
        <translation>%1 s minden csoport után</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="30"/>
        <source>nothing keyed yet</source>
        <translation>még nincs billentyűzés</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="56"/>
        <source>Your keying:</source>
        <translation>Az Ön billentyűzése:</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="140"/>
        <source>echo: listen to the group</source>
        <translation>oda - vissza: hallgassa a csoportot</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="141"/>
        <source>echo: key the group back</source>
        <translation>oda - vissza: adja vissza a csoportot</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="142"/>
        <source>echo: the next group comes after a breath</source>
        <translation>oda - vissza: a következő csoport egy kis szünet után jön</translation>
    </message>
    <message>
        <location filename="../keyerwindow.cpp" line="207"/>
        <source>%1 letters per minute, dash %2 dots</source>
        <translation>%1 betű percenként, a vonás %2 pont</translation>
    </message>
</context>
<context>
    <name>ReviewList</name>
    <message>
        <source>No characters were sent: tick the characters to practise in the trainer&apos;s window.</source>
        <translation>Nem jött jel: a gyakorolni kívánt jeleket az oktatóprogram ablakában jelölje be.</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="23"/>
        <source>Each echo group you key back is reviewed here.</source>
        <translation>Itt látja, hogyan adta vissza az egyes csoportokat.</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="24"/>
        <source>Review of the groups keyed back</source>
        <translation>A visszaadott csoportok értékelése</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="48"/>
        <source>%1 keyed as %2: %3</source>
        <translation>%1 helyett %2: %3</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="83"/>
        <source>%1 %2 left out</source>
        <translation>%1 %2 kimaradt</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="85"/>
        <source>extra %1 %2</source>
        <translation>fölösleges %1 %2</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="87"/>
        <source>%1 %2 keyed as %3 %4</source>
        <translation>%1 %2 helyett %3 %4</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="89"/>
        <source> (# is no Morse character)</source>
        <translation> (# = nem Morse-jel)</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="91"/>
        <source> keyed after the group: not counted</source>
        <translation> a csoport után: nem számít bele</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="96"/>
        <source>characters not keyed: %1 (after your silence the keyer sent # for each)</source>
        <translation>kimaradt jelek: %1 (a csend után a billentyűző mindegyikért # jelet küldött)</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="49"/>
        <location filename="../reviewlist.cpp" line="69"/>
        <source>right</source>
        <translation>jó</translation>
    </message>
    <message>
        <location filename="../reviewlist.cpp" line="49"/>
        <location filename="../reviewlist.cpp" line="69"/>
        <source>wrong</source>
        <translation>hibás</translation>
    </message>
</context>
</TS>
