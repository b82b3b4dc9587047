<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu" sourcelanguage="en">
<context>
    <name>CommandLine</name>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Váratlan argumentum: „%1”.</translation>
    </message>
</context>
<context>
    <name>KeyAdapter</name>
    <message>
        <source>the key adapter %1 cannot wait for its lines to change; reading them every millisecond</source>
        <translation>a billentyű-adapteren nem várható ki a vonalak változása: %1; ezredmásodpercenként olvassa őket</translation>
    </message>
    <message>
        <source>the key adapter %1 is there; keying with it too</source>
        <translation>a billentyű-adapter megvan: %1; azzal is lehet billentyűzni</translation>
    </message>
    <message>
        <source>; keying with the keyboard</source>
        <translation>; billentyűzés a billentyűzettel</translation>
    </message>
    <message>
        <source>, and taking the adapter when it is there</source>
        <translation>, az adaptert pedig használja, amint megjelenik</translation>
    </message>
    <message>
        <source>the key adapter %1 is not there</source>
        <translation>nincs meg a billentyű-adapter: %1</translation>
    </message>
    <message>
        <source>%1 has no device behind it (%2): it is no key adapter</source>
        <translation>%1: nincs mögötte eszköz (%2), így nem billentyű-adapter</translation>
    </message>
    <message>
        <source>cannot open the key adapter %1: you are not in the group %2 (sudo adduser $USER %2, then log out and in again)</source>
        <translation>nem nyitható meg a billentyű-adapter: %1; nem tagja ennek a csoportnak: %2 (sudo adduser $USER %2, majd jelentkezzen ki és be)</translation>
    </message>
    <message>
        <source>the key adapter %1 is in use by another program</source>
        <translation>a billentyű-adaptert egy másik program használja: %1</translation>
    </message>
    <message>
        <source>%1 is no serial port: it has no modem lines for a key</source>
        <translation>%1 nem soros port: nincsenek modemvonalai a billentyű számára</translation>
    </message>
    <message>
        <source>cannot open the key adapter %1 (%2)</source>
        <translation>nem nyitható meg a billentyű-adapter: %1 (%2)</translation>
    </message>
    <message>
        <source>the key adapter %1 is gone (%2); keying with the keyboard, and taking it back when it comes back</source>
        <translation>eltűnt a billentyű-adapter: %1 (%2); billentyűzés a billentyűzettel, az adaptert pedig újra használja, amint visszatér</translation>
    </message>
</context>
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
    <name>Keyer</name>
    <message>
        <source>the trainer closed the line; waiting for the next one</source>
        <translation>az oktatóprogram bezárta a vonalat; várja a következőt</translation>
    </message>
    <message>
        <source>the trainer answered on %1</source>
        <translation>az oktatóprogram válaszolt ezen a vonalon: %1</translation>
    </message>
    <message>
        <source>ignored the speed 00</source>
        <translation>a 00 sebességet figyelmen kívül hagyta</translation>
    </message>
    <message>
        <source>%1 groups wait to be played already; dropped the group &quot;%2&quot;</source>
        <translation>már %1 csoport vár lejátszásra; ezt a csoportot eldobta: „%2”</translation>
    </message>
    <message>
        <source>skipped bytes that are no frame: &quot;%1&quot;</source>
        <translation>keretnek nem minősülő bájtokat hagyott ki: „%1”</translation>
    </message>
    <message>
        <source>no Morse code for &quot;%1&quot; in the group &quot;%2&quot;; left out</source>
        <translation>nincs morzejel erre: „%1” (a csoport: „%2”); kimarad</translation>
    </message>
</context>
<context>
    <name>KeyerCommandLine</name>
    <message>
        <source>Usage: vestranoli-keyer [options]
A software Morse keyer for the Vestranoli trainer. It opens a pseudo-terminal,
prints the device of its far end on the first line, and plays the keyer&apos;s
side of the line: the groups of a copy run are played as Morse, and the
groups of an echo run are keyed back with the space bar (straight key) or
with the paddles (left and right Ctrl, or &quot;[&quot; and &quot;]&quot;; &quot;.&quot; and &quot;-&quot; key one
dot or dash), in the window&apos;s key area or with the mouse.

  --link PATH        also make PATH a symbolic link to the device (removed on exit)
  --auto-echo        key every echo group back by itself
  --error-rate P     with --auto-echo, key each character wrong with chance P (0 to 1)
  --fast             no real-time waits and no sound (for tests and demos)
  --headless         no window
  --wav FILE         write everything played to FILE (16-bit mono WAV)
  --tone HZ          sidetone pitch, 200 to 2000 (default 600)
  --speed N          letters per minute until the trainer sends a speed (default 60)
  --char-speed N     play characters at N letters per minute, the gaps stretched so
                     that the groups come at the trainer&apos;s speed (Farnsworth)
  --pause N          hundredths of a second after a group until the trainer sends
                     a pause (default 50)
  --iambic A|B       paddle mode: A stops with the element that sounds when a
                     squeeze is let go, B keys one more (default B)
  --key-device DEVICE
                     also key with a straight key or paddles wired to the modem
                     lines of the serial adapter DEVICE (DTR and RTS raised as
                     their supply)
  --key-lines LINES  straight (a key on CTS, the default), paddles (dot on CTS,
                     dash on DSR), one of CTS, DSR, DCD, RI for a straight key,
                     or two joined by a comma for the dot and dash paddles
  --key-invert       a line that is off means the key is down
  --help             show this text
  --version          show the version

Start the trainer with: vestranoli --port DEVICE (or the --link PATH).
</source>
        <translation>Használat: vestranoli-keyer [kapcsolók]
Szoftveres morzebillentyűző a Vestranoli gyakorlóhoz. Pszeudoterminált nyit,
az első sorba kiírja a túlsó vége eszközének nevét, és a vonal billentyűző
felőli oldalát viszi: a vétel csoportjait morzejelként lejátssza, az
oda - vissza csoportokat pedig vissza lehet adni a szóközzel (egyenes
billentyű) vagy a lapátokkal (bal és jobb Ctrl, vagy „[” és „]”; a „.” és
a „-” egy pontot, illetve egy vonást ad), az ablak billentyűmezőjében vagy
az egérrel.

  --link ÚTVONAL     az ÚTVONAL is szimbolikus hivatkozás lesz az eszközre
                     (kilépéskor törli)
  --auto-echo        minden oda - vissza csoportot magától visszaad
  --error-rate P     az --auto-echo mellett minden jelet P valószínűséggel
                     hibásan ad (0 és 1 között)
  --fast             valós idejű várakozás és hang nélkül (tesztekhez, bemutatóhoz)
  --headless         ablak nélkül
  --wav FÁJL         minden lejátszott hangot a FÁJL-ba ír (16 bites mono WAV)
  --tone HZ          a hang magassága, 200 és 2000 között (alapesetben 600)
  --speed N          betű percenként, amíg az oktatóprogram sebességet nem küld
                     (alapesetben 60)
  --char-speed N     a jeleket N betű/perc sebességgel játssza, a szüneteket úgy
                     nyújtja, hogy a csoportok az oktatóprogram sebességével
                     jöjjenek (Farnsworth)
  --pause N          a csoport utáni szünet századmásodpercben, amíg az
                     oktatóprogram szünetet nem küld (alapesetben 50)
  --iambic A|B       a lapátok módja: az A a szorítás elengedésekor szóló elemmel
                     áll meg, a B még egyet ad (alapesetben B)
  --key-device ESZKÖZ
                     billentyűzés az ESZKÖZ soros illesztő modemvonalaira kötött
                     egyenes billentyűvel vagy lapátokkal is (a tápot a DTR és
                     az RTS adja)
  --key-lines VONALAK
                     straight (billentyű a CTS-en, ez az alapeset), paddles
                     (pont a CTS-en, vonás a DSR-en), a CTS, DSR, DCD, RI egyike
                     egyenes billentyűhöz, vagy kettő vesszővel elválasztva
                     a pont és a vonás lapáthoz
  --key-invert       a kikapcsolt vonal jelenti a lenyomott billentyűt
  --help             ez a szöveg
  --version          a változat

Az oktatóprogram indítása: vestranoli --port ESZKÖZ (vagy a --link ÚTVONAL).
</translation>
    </message>
    <message>
        <source>--link wants a path.</source>
        <translation>a --link egy útvonalat vár.</translation>
    </message>
    <message>
        <source>--wav wants a file name.</source>
        <translation>a --wav egy fájlnevet vár.</translation>
    </message>
    <message>
        <source>--error-rate wants a number from 0 to 1.</source>
        <translation>a --error-rate 0 és 1 közötti számot vár.</translation>
    </message>
    <message>
        <source>--tone wants a pitch from 200 to 2000 Hz.</source>
        <translation>a --tone 200 és 2000 Hz közötti hangmagasságot vár.</translation>
    </message>
    <message>
        <source>--speed wants a whole number from 10 to 99.</source>
        <translation>a --speed 10 és 99 közötti egész számot vár.</translation>
    </message>
    <message>
        <source>--char-speed wants a whole number from 10 to 200.</source>
        <translation>a --char-speed 10 és 200 közötti egész számot vár.</translation>
    </message>
    <message>
        <source>--pause wants a whole number from 0 to 255.</source>
        <translation>a --pause 0 és 255 közötti egész számot vár.</translation>
    </message>
    <message>
        <source>--iambic wants A or B.</source>
        <translation>a --iambic értéke A vagy B lehet.</translation>
    </message>
    <message>
        <source>--key-device wants a device.</source>
        <translation>a --key-device egy eszközt vár.</translation>
    </message>
    <message>
        <source>--key-lines and --key-invert go with --key-device.</source>
        <translation>a --key-lines és a --key-invert csak a --key-device mellett használható.</translation>
    </message>
    <message>
        <source>--key-lines wants straight, paddles, a line (CTS, DSR, DCD, RI) or two different lines joined by a comma.</source>
        <translation>a --key-lines értéke straight, paddles, egy vonal (CTS, DSR, DCD, RI) vagy két különböző vonal vesszővel elválasztva lehet.</translation>
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
        <source>Its lines:</source>
        <translation>Vonalai:</translation>
    </message>
    <message>
        <source>Key adapter:</source>
        <translation>Billentyű-adapter:</translation>
    </message>
    <message>
        <source>dot paddle on %1, dash paddle on %2</source>
        <translation>pont lapát: %1, vonás lapát: %2</translation>
    </message>
    <message>
        <source>straight key on %1</source>
        <translation>egyenes billentyű: %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source> (inverted)</source>
        <translation> (fordított)</translation>
    </message>
    <message>
        <source>%1 on</source>
        <translation>%1 be</translation>
    </message>
    <message>
        <source>%1 off</source>
        <translation>%1 ki</translation>
    </message>
    <message>
        <source>not connected; keying with the keyboard</source>
        <translation>nincs csatlakoztatva; billentyűzés a billentyűzettel</translation>
    </message>
    <message>
        <source>Key the groups back in this window. If the key area does not light up when you press the space bar, click this window once.</source>
        <translation>Ebben az ablakban adja vissza a csoportokat. Ha a billentyű mezője nem világít fel a szóköz lenyomására, kattintson egyszer ebbe az ablakba.</translation>
    </message>
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
        <translation>Hangmagasság:</translation>
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
        <source>Sound:</source>
        <translation>Hang:</translation>
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
        <source>Tone</source>
        <translation>Hangmagasság</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Hangerő</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Billentyű</translation>
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
        <source>characters at %1, groups at %2 letters per minute (Farnsworth; dot %3 ms)</source>
        <translation>jelek %1, csoportok %2 betű percenként (Farnsworth; pont: %3 ms)</translation>
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
        <translation>Az Ön billentyűzése:</translation>
    </message>
    <message>
        <source>echo: listen to the group</source>
        <translation>oda - vissza: hallgassa a csoportot</translation>
    </message>
    <message>
        <source>echo: key the group back</source>
        <translation>oda - vissza: adja vissza a csoportot</translation>
    </message>
    <message>
        <source>echo: the next group comes after a breath</source>
        <translation>oda - vissza: a következő csoport egy kis szünet után jön</translation>
    </message>
    <message>
        <source>%1 letters per minute, dash %2 dots</source>
        <translation>%1 betű percenként, a vonás %2 pont</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>cannot finish the recording %1 (%2)</source>
        <translation>nem fejezhető be a felvétel: %1 (%2)</translation>
    </message>
    <message>
        <source>cannot write %1 (%2)</source>
        <translation>nem írható: %1 (%2)</translation>
    </message>
    <message>
        <source>the sound output failed (%1); playing silently until it is back</source>
        <translation>a hangkimenet hibát jelzett (%1); hang nélkül játszik, amíg vissza nem tér</translation>
    </message>
    <message>
        <source>no sound output (%1); playing silently</source>
        <translation>nincs hangkimenet (%1); hang nélkül játszik</translation>
    </message>
    <message>
        <source>the sound output is back</source>
        <translation>a hangkimenet újra megvan</translation>
    </message>
    <message>
        <source>the sound output is not taking what is played; dropping it</source>
        <translation>a hangkimenet nem fogadja a lejátszandót; eldobja</translation>
    </message>
    <message>
        <source>the recording fell behind and lost samples</source>
        <translation>a felvétel lemaradt, és mintákat vesztett</translation>
    </message>
    <message>
        <source>cannot write the recording %1 (%2); it ends here</source>
        <translation>nem írható a felvétel: %1 (%2); itt véget ér</translation>
    </message>
</context>
<context>
    <name>ProblemLimit</name>
    <message>
        <source>and %1 more such problems within %2 s, left unsaid</source>
        <translation>és még %1 ilyen hiba %2 s alatt, ezeket nem írja ki</translation>
    </message>
</context>
<context>
    <name>PtyLine</name>
    <message>
        <source>cannot watch %1 (%2); a trainer that closes the line and comes back will not be noticed</source>
        <translation>nem figyelhető: %1 (%2); ha az oktatóprogram bezárja a vonalat, majd visszatér, azt nem veszi észre</translation>
    </message>
    <message>
        <source>the line is not being read; dropping what the keyer sends</source>
        <translation>a vonalat senki sem olvassa; eldobja, amit a billentyűző küldene</translation>
    </message>
    <message>
        <source>the line has gone (%1); no longer reading it</source>
        <translation>a vonal megszűnt (%1); többé nem olvassa</translation>
    </message>
    <message>
        <source>end of file</source>
        <translation>fájl vége</translation>
    </message>
</context>
<context>
    <name>ReviewList</name>
    <message>
        <source>No characters were sent: tick the characters to practise in the trainer&apos;s window.</source>
        <translation>Nem jött jel: a gyakorolni kívánt jeleket az oktatóprogram ablakában jelölje be.</translation>
    </message>
    <message>
        <source>Each echo group you key back is reviewed here.</source>
        <translation>Itt látja, hogyan adta vissza az egyes csoportokat.</translation>
    </message>
    <message>
        <source>%1 keyed as %2: %3</source>
        <translation>%1 helyett %2: %3</translation>
    </message>
    <message>
        <source>%1 %2 left out</source>
        <translation>%1 %2 kimaradt</translation>
    </message>
    <message>
        <source>extra %1 %2</source>
        <translation>fölösleges %1 %2</translation>
    </message>
    <message>
        <source>%1 %2 keyed as %3 %4</source>
        <translation>%1 %2 helyett %3 %4</translation>
    </message>
    <message>
        <source> (# is no Morse character)</source>
        <translation> (# = nem Morse-jel)</translation>
    </message>
    <message>
        <source> keyed after the group: not counted</source>
        <translation> a csoport után: nem számít bele</translation>
    </message>
    <message>
        <source>characters not keyed: %1 (after your silence the keyer sent # for each)</source>
        <translation>kimaradt jelek: %1 (a csend után a billentyűző mindegyikért # jelet küldött)</translation>
    </message>
    <message>
        <source>right</source>
        <translation>jó</translation>
    </message>
    <message>
        <source>wrong</source>
        <translation>hibás</translation>
    </message>
</context>
<context>
    <name>SoundOutput</name>
    <message>
        <source>starting PipeWire</source>
        <translation>a PipeWire indítása</translation>
    </message>
    <message>
        <source>connecting: %1</source>
        <translation>kapcsolódás: %1</translation>
    </message>
    <message>
        <source>opening a stream</source>
        <translation>adatfolyam megnyitása</translation>
    </message>
    <message>
        <source>opening a stream: no answer</source>
        <translation>adatfolyam megnyitása: nincs válasz</translation>
    </message>
    <message>
        <source>opening a stream: %1</source>
        <translation>adatfolyam megnyitása: %1</translation>
    </message>
    <message>
        <source>playing: the server went away</source>
        <translation>lejátszás: a hangkiszolgáló eltűnt</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>kapcsolódás</translation>
    </message>
    <message>
        <source>playing</source>
        <translation>lejátszás</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>%1 exists and is no link; not replacing it</source>
        <translation>%1 már létezik, és nem hivatkozás; nem cseréli le</translation>
    </message>
    <message>
        <source>cannot make the link %1</source>
        <translation>nem hozható létre a hivatkozás: %1</translation>
    </message>
    <message>
        <source>%1 (try --help)</source>
        <translation>%1 (segítség: --help)</translation>
    </message>
    <message>
        <source>this Qt has no windows-1250 codec; the line needs it</source>
        <translation>ebben a Qt-ben nincs windows-1250 kódolás; a vonalnak kell</translation>
    </message>
    <message>
        <source>cannot open a pseudo-terminal (%1)</source>
        <translation>nem nyitható meg pszeudoterminál (%1)</translation>
    </message>
    <message>
        <source>fast mode; playing silently</source>
        <translation>gyors mód; hang nélkül játszik</translation>
    </message>
</context>
</TS>
