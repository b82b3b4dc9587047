<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu" sourcelanguage="en">
<context>
    <name>BandConditions</name>
    <message>
        <location filename="../../common/bandconditions.cpp" line="90"/>
        <source>not a band setting: %1</source>
        <translation>nem a sáv beállítása: %1</translation>
    </message>
</context>
<context>
    <name>BandDialog</name>
    <message>
        <location filename="../window/banddialog.cpp" line="37"/>
        <source>&amp;Noise</source>
        <translation>&amp;Zaj</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="38"/>
        <location filename="../window/banddialog.cpp" line="40"/>
        <location filename="../window/banddialog.cpp" line="43"/>
        <location filename="../window/banddialog.cpp" line="79"/>
        <source> dB</source>
        <translation> dB</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="45"/>
        <source>Band settings</source>
        <translation>A sáv beállításai</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="53"/>
        <source>off</source>
        <translation>ki</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="62"/>
        <source>&amp;SNR:</source>
        <translation>&amp;Jel/zaj:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="63"/>
        <source>&amp;Filter (Hz):</source>
        <translation>&amp;Szűrő (Hz):</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="64"/>
        <source>Fading &amp;depth:</source>
        <translation>Fading &amp;mélysége:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="65"/>
        <source>Fading &amp;rate:</source>
        <translation>Fading &amp;gyakorisága:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="66"/>
        <source>&amp;Crashes a minute:</source>
        <translation>&amp;Recsegések percenként:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="67"/>
        <source>Crash &amp;level:</source>
        <translation>Recsegések szin&amp;tje:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="70"/>
        <source>Offset</source>
        <translation>Eltolás</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="70"/>
        <source>Level</source>
        <translation>Szint</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="70"/>
        <source>Speed</source>
        <translation>Sebesség</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="70"/>
        <source>Traffic</source>
        <translation>Forgalom</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="76"/>
        <source>Station &amp;%1</source>
        <translation>&amp;%1. állomás</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="77"/>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="91"/>
        <source>Station %1 offset</source>
        <translation>%1. állomás eltolása</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="92"/>
        <source>Station %1 level</source>
        <translation>%1. állomás szintje</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="93"/>
        <source>Station %1 speed, letters per minute</source>
        <translation>%1. állomás sebessége, betű percenként</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="94"/>
        <source>Station %1 traffic</source>
        <translation>%1. állomás forgalma</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="96"/>
        <source>Other stations:</source>
        <translation>Más állomások:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="99"/>
        <location filename="../window/banddialog.cpp" line="100"/>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="103"/>
        <source>Hand&apos;s &amp;jitter:</source>
        <translation>Kézi &amp;ingadozás:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="104"/>
        <source>Hand&apos;s &amp;weight:</source>
        <translation>Kézi súl&amp;yozás:</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="105"/>
        <source>Each element and gap of the played groups off by this much of a dot</source>
        <translation>A lejátszott csoportok minden eleme és szünete ennyivel tér el, a pont hosszához mérve</translation>
    </message>
    <message>
        <location filename="../window/banddialog.cpp" line="106"/>
        <source>A dot&apos;s share of a dot and its gap; 50 % is even</source>
        <translation>A pont része a pontból és az utána következő szünetből; az 50 % egyenletes</translation>
    </message>
</context>
<context>
    <name>BandFile</name>
    <message>
        <location filename="../line/bandfile.cpp" line="42"/>
        <source>cannot write %1 (%2); the trainer does not learn the band</source>
        <translation>nem írható: %1 (%2); az oktatóprogram nem tudja meg, milyen a sáv</translation>
    </message>
</context>
<context>
    <name>BandWords</name>
    <message>
        <location filename="../window/bandwords.cpp" line="9"/>
        <source>clean</source>
        <translation>tiszta</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="11"/>
        <source>weak signal</source>
        <translation>gyenge jel</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="13"/>
        <source>noisy band</source>
        <translation>zajos sáv</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="15"/>
        <source>crowded band</source>
        <translation>zsúfolt sáv</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="16"/>
        <source>custom</source>
        <translation>egyéni</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="22"/>
        <source>slow</source>
        <translation>lassú</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="24"/>
        <source>fast</source>
        <translation>gyors</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="25"/>
        <source>%1 a minute</source>
        <translation>percenként %1</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="32"/>
        <source>groups</source>
        <translation>csoportok</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="34"/>
        <source>calls</source>
        <translation>hívójelek</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="38"/>
        <source>CQ</source>
        <translation>CQ</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="44"/>
        <source>Plays: the clean tone</source>
        <translation>Szól: a tiszta hang</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="48"/>
        <source>SNR %1 dB in a %2 Hz filter</source>
        <translation>jel/zaj %1 dB egy %2 Hz-es szűrőben</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="50"/>
        <source>no noise, a %1 Hz filter</source>
        <translation>zaj nélkül, egy %1 Hz-es szűrő</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="54"/>
        <source>fading %1 dB %2</source>
        <translation>fading %1 dB, %2</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="56"/>
        <source>fading %1 dB, %2 times a minute</source>
        <translation>fading %1 dB, percenként %2</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="58"/>
        <source>%1 crashes a minute</source>
        <translation>percenként %1 recsegés</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="60"/>
        <source>another station</source>
        <translation>egy másik állomás</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="62"/>
        <source>%1 other stations</source>
        <translation>%1 másik állomás</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="64"/>
        <source>sent by hand</source>
        <translation>kézzel adva</translation>
    </message>
    <message>
        <location filename="../window/bandwords.cpp" line="65"/>
        <source>Plays: %1</source>
        <translation>Szól: %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../../common/commandline.cpp" line="12"/>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Váratlan argumentum: „%1”.</translation>
    </message>
</context>
<context>
    <name>FistTimeline</name>
    <message>
        <location filename="../window/fisttimeline.cpp" line="11"/>
        <source>Timeline of the last group</source>
        <translation>Az utolsó csoport idővonala</translation>
    </message>
    <message>
        <location filename="../window/fisttimeline.cpp" line="33"/>
        <source>keyed</source>
        <translation>adott</translation>
    </message>
    <message>
        <location filename="../window/fisttimeline.cpp" line="34"/>
        <source>right</source>
        <translation>helyes</translation>
    </message>
</context>
<context>
    <name>FistWords</name>
    <message>
        <location filename="../window/fistwords.cpp" line="8"/>
        <source>%1 letters per minute (set %2)</source>
        <translation>%1 betű percenként (beállítva: %2)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="12"/>
        <source>dash %1 dots</source>
        <translation>a vonás %1 pont</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="14"/>
        <source>gaps %1 inside letters</source>
        <translation>a betűkön belüli szünet %1</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="16"/>
        <source>%1 between letters</source>
        <translation>a betűk között %1</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="18"/>
        <source>%1 between words</source>
        <translation>a szavak között %1</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="19"/>
        <source>Timing: %1</source>
        <translation>Időzítés: %1</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="20"/>
        <source> (paddles: only the spacing is yours)</source>
        <translation> (lapátok: csak a szünetek az Önéi)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="37"/>
        <source>slower than set: %1 letters per minute instead of %2</source>
        <translation>lassabb a beállítottnál: percenként %1 betű %2 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="38"/>
        <source>faster than set: %1 letters per minute instead of %2</source>
        <translation>gyorsabb a beállítottnál: percenként %1 betű %2 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="42"/>
        <source>dashes short: %1 dots instead of 3</source>
        <translation>a vonások rövidek: %1 pont 3 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="42"/>
        <source>dashes long: %1 dots instead of 3</source>
        <translation>a vonások hosszúak: %1 pont 3 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="44"/>
        <source>gaps inside letters short: %1 dots instead of 1</source>
        <translation>a betűkön belüli szünetek rövidek: %1 pont 1 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="45"/>
        <source>gaps inside letters long: %1 dots instead of 1</source>
        <translation>a betűkön belüli szünetek hosszúak: %1 pont 1 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="48"/>
        <source>letters run together: %1 dots between them instead of 3</source>
        <translation>összefolynak a betűk: %1 pont köztük 3 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="49"/>
        <source>gaps between letters long: %1 dots instead of 3</source>
        <translation>a betűközök hosszúak: %1 pont 3 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="52"/>
        <source>gaps between words short: %1 dots instead of 7</source>
        <translation>a szóközök rövidek: %1 pont 7 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="53"/>
        <source>gaps between words long: %1 dots instead of 7</source>
        <translation>a szóközök hosszúak: %1 pont 7 helyett</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="56"/>
        <source>slowing down: the end of the group %1 % slower than its start</source>
        <translation>lassít: a csoport vége %1 %-kal lassabb az elejénél</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="57"/>
        <source>speeding up: the end of the group %1 % faster than its start</source>
        <translation>gyorsít: a csoport vége %1 %-kal gyorsabb az elejénél</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="67"/>
        <source>%1: the dashes short (%2 dots)</source>
        <translation>%1: a vonások rövidek (%2 pont)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="67"/>
        <source>%1: the dashes long (%2 dots)</source>
        <translation>%1: a vonások hosszúak (%2 pont)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="70"/>
        <source>%1: the gaps between its elements too short (%2 dots)</source>
        <translation>%1: a jelei közti szünet túl rövid (%2 pont)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="71"/>
        <source>%1: the gaps between its elements too long (%2 dots)</source>
        <translation>%1: a jelei közti szünet túl hosszú (%2 pont)</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="79"/>
        <source>no group keyed back yet</source>
        <translation>még nincs visszaadott csoport</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="86"/>
        <source>%1 ± %2 letters per minute</source>
        <translation>percenként %1 ± %2 betű</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="87"/>
        <source>dash %1 ± %2 dots</source>
        <translation>a vonás %1 ± %2 pont</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="87"/>
        <source>gaps %1 ± %2 inside letters</source>
        <translation>a betűkön belüli szünet %1 ± %2</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="88"/>
        <source>%1 ± %2 between letters</source>
        <translation>a betűk között %1 ± %2</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="88"/>
        <source>%1 ± %2 between words</source>
        <translation>a szavak között %1 ± %2</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="90"/>
        <source>Groups keyed back: %1. Means: %2</source>
        <translation>Visszaadott csoportok: %1. Átlagok: %2</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="93"/>
        <source>. Furthest off: %1</source>
        <translation>. A legnagyobb eltérés: %1</translation>
    </message>
    <message>
        <location filename="../window/fistwords.cpp" line="99"/>
        <source>. Characters: %1</source>
        <translation>. Jelek: %1</translation>
    </message>
</context>
<context>
    <name>KeyAdapter</name>
    <message>
        <location filename="../keys/keyadapter.cpp" line="65"/>
        <source>the key adapter %1 cannot wait for its lines to change; reading them every millisecond</source>
        <translation>a billentyű-adapteren nem várható ki a vonalak változása: %1; ezredmásodpercenként olvassa őket</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="83"/>
        <source>the key adapter %1 is there; keying with it too</source>
        <translation>a billentyű-adapter megvan: %1; azzal is lehet billentyűzni</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="103"/>
        <source>; keying with the keyboard</source>
        <translation>; billentyűzés a billentyűzettel</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="104"/>
        <source>, and taking the adapter when it is there</source>
        <translation>, az adaptert pedig használja, amint megjelenik</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="107"/>
        <source>the key adapter %1 is not there</source>
        <translation>nincs meg a billentyű-adapter: %1</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="109"/>
        <source>%1 has no device behind it (%2): it is no key adapter</source>
        <translation>%1: nincs mögötte eszköz (%2), így nem billentyű-adapter</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="117"/>
        <source>cannot open the key adapter %1: you are not in the group %2 (sudo adduser $USER %2, then log out and in again)</source>
        <translation>nem nyitható meg a billentyű-adapter: %1; nem tagja ennek a csoportnak: %2 (sudo adduser $USER %2, majd jelentkezzen ki és be)</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="123"/>
        <source>the key adapter %1 is in use by another program</source>
        <translation>a billentyű-adaptert egy másik program használja: %1</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="126"/>
        <source>%1 is no serial port: it has no modem lines for a key</source>
        <translation>%1 nem soros port: nincsenek modemvonalai a billentyű számára</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="128"/>
        <source>cannot open the key adapter %1 (%2)</source>
        <translation>nem nyitható meg a billentyű-adapter: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../keys/keyadapter.cpp" line="150"/>
        <source>the key adapter %1 is gone (%2); keying with the keyboard, and taking it back when it comes back</source>
        <translation>eltűnt a billentyű-adapter: %1 (%2); billentyűzés a billentyűzettel, az adaptert pedig újra használja, amint visszatér</translation>
    </message>
</context>
<context>
    <name>KeyArea</name>
    <message>
        <location filename="../window/keyarea.cpp" line="90"/>
        <source>Click here to key</source>
        <translation>Kattintson ide a billentyűzéshez</translation>
    </message>
    <message>
        <location filename="../window/keyarea.cpp" line="43"/>
        <source>Key here: hold the mouse button, or use the keys listed below</source>
        <translation>Itt lehet billentyűzni: tartsa lenyomva az egérgombot, vagy használja a lent felsorolt billentyűket</translation>
    </message>
    <message>
        <location filename="../window/keyarea.cpp" line="90"/>
        <source>Key here</source>
        <translation>Itt billentyűzzön</translation>
    </message>
</context>
<context>
    <name>Keyer</name>
    <message>
        <location filename="../dialogue/keyer.cpp" line="132"/>
        <source>the trainer closed the line; waiting for the next one</source>
        <translation>az oktatóprogram bezárta a vonalat; várja a következőt</translation>
    </message>
    <message>
        <location filename="../dialogue/keyer.cpp" line="154"/>
        <source>the trainer answered on %1</source>
        <translation>az oktatóprogram válaszolt ezen a vonalon: %1</translation>
    </message>
    <message>
        <location filename="../dialogue/keyer.cpp" line="159"/>
        <source>ignored the speed 00</source>
        <translation>a 00 sebességet figyelmen kívül hagyta</translation>
    </message>
    <message>
        <location filename="../dialogue/keyer.cpp" line="190"/>
        <source>%1 groups wait to be played already; dropped the group &quot;%2&quot;</source>
        <translation>már %1 csoport vár lejátszásra; ezt a csoportot eldobta: „%2”</translation>
    </message>
    <message>
        <location filename="../dialogue/keyer.cpp" line="199"/>
        <source>skipped bytes that are no frame: &quot;%1&quot;</source>
        <translation>keretnek nem minősülő bájtokat hagyott ki: „%1”</translation>
    </message>
    <message>
        <location filename="../dialogue/keyer.cpp" line="255"/>
        <source>no Morse code for &quot;%1&quot; in the group &quot;%2&quot;; left out</source>
        <translation>nincs morzejel erre: „%1” (a csoport: „%2”); kimarad</translation>
    </message>
</context>
<context>
    <name>KeyerCommandLine</name>
    <message>
        <location filename="../dialogue/options.cpp" line="11"/>
        <source>Usage: vestranoli-keyer [options]
A software Morse keyer for the Vestranoli trainer. It opens a pseudo-terminal,
prints the device of its far end on the first line, and plays the keyer&apos;s
side of the line: the groups of a copy run are played as Morse, and the
groups of an echo run are keyed back with the space bar (straight key) or
with the paddles (left and right Ctrl, or &quot;[&quot; and &quot;]&quot;; &quot;.&quot; and &quot;-&quot; key one
dot or dash), in the window&apos;s key area or with the mouse.

  --link PATH        also make PATH a symbolic link to the device, and keep the band
                     for the trainer in PATH.conditions (both removed on exit)
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
  --band PRESET      play the groups through a band: clean (the default), weak,
                     noisy or crowded; the options below change its settings
  --snr DB           noise, the tone&apos;s power against it in the filter (-20 to 40)
  --filter HZ        the receiver&apos;s CW filter, 100 to 3000 Hz wide (500)
  --fading DB        fading this deep, 0 (none) to 30
  --fading-rate N    fades a minute, 1 to 120, or slow (6) or fast (30)
  --crashes N        static crashes a minute, 0 to 600
  --crash-level DB   their peak against the tone, -10 to 30 (10)
  --qrm OFFSET/LEVEL/SPEED/TRAFFIC
                     another station: Hz from the tone (-1000 to 1000), dB against
                     it (-30 to 20), letters per minute (20 to 250), and groups,
                     calls or cq; up to 4, given again for each
  --jitter PCT       the played groups sent by hand: each element off by this much
                     of a dot, 0 to 50
  --weight PCT       a dot&apos;s share of a dot and its gap, 25 to 75 (50)
  --band-seed N      the same noise and stations at each start (N above 0)
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

  --link ÚTVONAL     az ÚTVONAL is szimbolikus hivatkozás lesz az eszközre, és az
                     ÚTVONAL.conditions fájlban az oktatóprogram megtudja, milyen
                     a sáv (kilépéskor mindkettőt törli)
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
  --band ELŐBEÁLLÍTÁS
                     a csoportokat egy sávon át játssza: clean (tiszta, ez az
                     alapeset), weak (gyenge jel), noisy (zajos) vagy crowded
                     (zsúfolt); az alábbi kapcsolók a beállításait módosítják
  --snr DB           zaj: a hang teljesítménye a szűrőbeli zajéhoz mérve
                     (-20 és 40 között)
  --filter HZ        a vevő CW-szűrője, 100 és 3000 Hz közötti szélességű (500)
  --fading DB        ilyen mély fading, 0 (nincs) és 30 között
  --fading-rate N    fadingek percenként, 1 és 120 között, vagy slow (6) vagy
                     fast (30)
  --crashes N        légköri recsegések percenként, 0 és 600 között
  --crash-level DB   a csúcsuk a hanghoz mérve, -10 és 30 között (10)
  --qrm ELTOLÁS/SZINT/SEBESSÉG/FORGALOM
                     egy másik állomás: Hz a hangtól (-1000 és 1000 között), dB
                     a hanghoz mérve (-30 és 20 között), betű percenként (20 és
                     250 között), és groups, calls vagy cq; legfeljebb 4,
                     mindegyikhez újra megadva
  --jitter PCT       a lejátszott csoportok kézi adása: minden elem ennyivel tér
                     el a pont hosszához mérve, 0 és 50 között
  --weight PCT       a pont része a pontból és a szünetéből, 25 és 75 között (50)
  --band-seed N      minden indításkor ugyanaz a zaj és ugyanazok az állomások
                     (N nagyobb 0-nál)
  --help             ez a szöveg
  --version          a változat

Az oktatóprogram indítása: vestranoli --port ESZKÖZ (vagy a --link ÚTVONAL).
</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="84"/>
        <source>--snr wants a number of dB from -20 to 40.</source>
        <translation>a --snr -20 és 40 dB közötti számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="86"/>
        <source>--filter wants a width from 100 to 3000 Hz.</source>
        <translation>a --filter 100 és 3000 Hz közötti szélességet vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="88"/>
        <source>--fading wants a depth from 0 to 30 dB.</source>
        <translation>a --fading 0 és 30 dB közötti mélységet vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="90"/>
        <source>--fading-rate wants slow, fast or 1 to 120 fades a minute.</source>
        <translation>a --fading-rate értéke slow, fast vagy percenként 1 és 120 közötti szám lehet.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="92"/>
        <source>--crashes wants 0 to 600 crashes a minute.</source>
        <translation>a --crashes percenként 0 és 600 közötti számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="94"/>
        <source>--crash-level wants a number of dB from -10 to 30.</source>
        <translation>a --crash-level -10 és 30 dB közötti számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="96"/>
        <source>--jitter wants a percentage from 0 to 50.</source>
        <translation>a --jitter 0 és 50 közötti százalékot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="98"/>
        <source>--weight wants a percentage from 25 to 75.</source>
        <translation>a --weight 25 és 75 közötti százalékot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="159"/>
        <source>--link wants a path.</source>
        <translation>a --link egy útvonalat vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="161"/>
        <source>--wav wants a file name.</source>
        <translation>a --wav egy fájlnevet vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="165"/>
        <source>--error-rate wants a number from 0 to 1.</source>
        <translation>a --error-rate 0 és 1 közötti számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="170"/>
        <source>--tone wants a pitch from 200 to 2000 Hz.</source>
        <translation>a --tone 200 és 2000 Hz közötti hangmagasságot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="176"/>
        <source>--speed wants a whole number from 10 to 99.</source>
        <translation>a --speed 10 és 99 közötti egész számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="182"/>
        <source>--char-speed wants a whole number from 10 to 200.</source>
        <translation>a --char-speed 10 és 200 közötti egész számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="188"/>
        <source>--pause wants a whole number from 0 to 255.</source>
        <translation>a --pause 0 és 255 közötti egész számot vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="194"/>
        <source>--iambic wants A or B.</source>
        <translation>a --iambic értéke A vagy B lehet.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="199"/>
        <source>--key-device wants a device.</source>
        <translation>a --key-device egy eszközt vár.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="202"/>
        <source>--key-lines and --key-invert go with --key-device.</source>
        <translation>a --key-lines és a --key-invert csak a --key-device mellett használható.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="206"/>
        <source>--key-lines wants straight, paddles, a line (CTS, DSR, DCD, RI) or two different lines joined by a comma.</source>
        <translation>a --key-lines értéke straight, paddles, egy vonal (CTS, DSR, DCD, RI) vagy két különböző vonal vesszővel elválasztva lehet.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="218"/>
        <source>--band wants clean, weak, noisy or crowded.</source>
        <translation>a --band értéke clean, weak, noisy vagy crowded lehet.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="233"/>
        <source>--qrm is given at most %1 times.</source>
        <translation>a --qrm legfeljebb %1-szer adható meg.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="240"/>
        <source>--qrm wants OFFSET/LEVEL/SPEED/TRAFFIC: -1000 to 1000 Hz, -30 to 20 dB, 20 to 250 letters per minute, and groups, calls or cq.</source>
        <translation>a --qrm ELTOLÁS/SZINT/SEBESSÉG/FORGALOM alakot vár: -1000 és 1000 Hz, -30 és 20 dB, 20 és 250 betű/perc között, és groups, calls vagy cq.</translation>
    </message>
    <message>
        <location filename="../dialogue/options.cpp" line="251"/>
        <source>--band-seed wants a whole number above 0.</source>
        <translation>a --band-seed 0-nál nagyobb egész számot vár.</translation>
    </message>
</context>
<context>
    <name>KeyerWindow</name>
    <message>
        <location filename="../window/keyerwindow.cpp" line="235"/>
        <source>copy: the run is over</source>
        <translation>vétel: a futás véget ért</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="255"/>
        <source>; characters at %1 asked for: below it, not used</source>
        <translation>; a kért jelsebesség (%1) ennél kisebb, ezért nem érvényes</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="279"/>
        <source>Band: %1</source>
        <translation>Sáv: %1</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="309"/>
        <source>ready</source>
        <translation>készen áll</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="401"/>
        <source>Save the timing</source>
        <translation>Az időzítés mentése</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="403"/>
        <source>CSV files (*.csv)</source>
        <translation>CSV-fájlok (*.csv)</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="410"/>
        <source>; saved to %1</source>
        <translation>; mentve ide: %1</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="413"/>
        <source>; could not save %1: %2</source>
        <translation>; nem menthető: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="429"/>
        <source>Its lines:</source>
        <translation>Vonalai:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="428"/>
        <source>Key adapter:</source>
        <translation>Billentyű-adapter:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="421"/>
        <source>dot paddle on %1, dash paddle on %2</source>
        <translation>pont lapát: %1, vonás lapát: %2</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="422"/>
        <source>straight key on %1</source>
        <translation>egyenes billentyű: %1</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="425"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="424"/>
        <source> (inverted)</source>
        <translation> (fordított)</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="437"/>
        <source>%1 on</source>
        <translation>%1 be</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="437"/>
        <source>%1 off</source>
        <translation>%1 ki</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="439"/>
        <source>not connected; keying with the keyboard</source>
        <translation>nincs csatlakoztatva; billentyűzés a billentyűzettel</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="55"/>
        <source>Key the groups back in this window. If the key area does not light up when you press the space bar, click this window once.</source>
        <translation>Ebben az ablakban adja vissza a csoportokat. Ha a billentyű mezője nem világít fel a szóköz lenyomására, kattintson egyszer ebbe az ablakba.</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="67"/>
        <source>Vestranoli keyer</source>
        <translation>Vestranoli billentyűző</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="72"/>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="78"/>
        <source>Line:</source>
        <translation>Vonal:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="81"/>
        <source>Mode:</source>
        <translation>Üzemmód:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="89"/>
        <source>Speed:</source>
        <translation>Sebesség:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="90"/>
        <source>Pause:</source>
        <translation>Szünet:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="102"/>
        <source>Tone:</source>
        <translation>Hangmagasság:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="103"/>
        <source>Volume:</source>
        <translation>Hangerő:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="108"/>
        <source>Space bar, or the mouse on the key: straight key
Left Ctrl or [: dot paddle; right Ctrl or ]: dash paddle
. and -: a dot and a dash</source>
        <translation>Szóköz, vagy az egér a billentyűn: egyenes billentyű
Bal Ctrl vagy [: pont lapát; jobb Ctrl vagy ]: vonás lapát
. és -: egy pont és egy vonás</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="104"/>
        <source>Sound:</source>
        <translation>Hang:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="309"/>
        <source>playing</source>
        <translation>szól</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="312"/>
        <source>resting; ready again at the next key or group</source>
        <translation>pihen; a következő billentyűre vagy csoportra újra kész</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="315"/>
        <source>no sound output: playing silently, looking for it again</source>
        <translation>nincs hangkimenet: hang nélkül játszik, és újra keresi</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="175"/>
        <source>Tone</source>
        <translation>Hangmagasság</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="51"/>
        <source>Se&amp;ttings...</source>
        <translation>&amp;Beállítások...</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="60"/>
        <source>&amp;Play back</source>
        <translation>&amp;Visszajátszás</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="61"/>
        <source>&amp;Save timing...</source>
        <translation>Időzítés &amp;mentése...</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="52"/>
        <source>&amp;Band:</source>
        <translation>&amp;Sáv:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="134"/>
        <source>Saves the timing of every group keyed back, a row each, as CSV</source>
        <translation>Minden visszaadott csoport időzítését menti CSV-be, csoportonként egy sorban</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="176"/>
        <source>Volume</source>
        <translation>Hangerő</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="177"/>
        <source>Key</source>
        <translation>Billentyű</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="178"/>
        <source>Band</source>
        <translation>Sáv</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="179"/>
        <source>Band settings</source>
        <translation>A sáv beállításai</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="180"/>
        <source>Every setting of the band: noise, filter, fading, crashes, other stations, a hand&apos;s fist</source>
        <translation>A sáv minden beállítása: zaj, szűrő, fading, recsegések, más állomások, kézi adás</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="225"/>
        <source>%1, trainer connected</source>
        <translation>%1, az oktatóprogram csatlakozott</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="227"/>
        <source>%1, open; waiting for the trainer&apos;s answer</source>
        <translation>%1, megnyitva; várakozás az oktatóprogram válaszára</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="229"/>
        <source>%1, waiting for the trainer</source>
        <translation>%1, várakozás az oktatóprogramra</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="232"/>
        <source>no run yet</source>
        <translation>még nem volt gyakorlás</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="235"/>
        <source>copy: listen and write down</source>
        <translation>vétel: hallgassa és írja le</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="244"/>
        <source>characters at %1, groups at %2 letters per minute (Farnsworth; dot %3 ms)</source>
        <translation>jelek %1, csoportok %2 betű percenként (Farnsworth; pont: %3 ms)</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="249"/>
        <source>%1 letters per minute (dot %2 ms)</source>
        <translation>%1 betű percenként (pont: %2 ms)</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="256"/>
        <source>%1 s after each group</source>
        <translation>%1 s minden csoport után</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="49"/>
        <source>nothing keyed yet</source>
        <translation>még nincs billentyűzés</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="91"/>
        <source>Your keying:</source>
        <translation>Az Ön billentyűzése:</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="129"/>
        <source>Plays the last group as you keyed it, then as it should sound at your speed, when no group sounds</source>
        <translation>Lejátssza az utolsó csoportot úgy, ahogy adta, majd úgy, ahogy az Ön sebességén szólnia kellene, amikor épp nem szól csoport</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="238"/>
        <source>echo: listen to the group</source>
        <translation>oda - vissza: hallgassa a csoportot</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="239"/>
        <source>echo: key the group back</source>
        <translation>oda - vissza: adja vissza a csoportot</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="240"/>
        <source>echo: the next group comes after a breath</source>
        <translation>oda - vissza: a következő csoport egy kis szünet után jön</translation>
    </message>
    <message>
        <location filename="../window/keyerwindow.cpp" line="369"/>
        <source>%1 letters per minute, dash %2 dots</source>
        <translation>%1 betű percenként, a vonás %2 pont</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../sound/player.cpp" line="61"/>
        <source>cannot finish the recording %1 (%2)</source>
        <translation>nem fejezhető be a felvétel: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="67"/>
        <source>cannot write %1 (%2)</source>
        <translation>nem írható: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="99"/>
        <source>the sound output failed (%1); playing silently until it is back</source>
        <translation>a hangkimenet hibát jelzett (%1); hang nélkül játszik, amíg vissza nem tér</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="101"/>
        <source>no sound output (%1); playing silently</source>
        <translation>nincs hangkimenet (%1); hang nélkül játszik</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="103"/>
        <source>the sound output is back</source>
        <translation>a hangkimenet újra megvan</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="150"/>
        <location filename="../sound/player.cpp" line="174"/>
        <source>the sound output is not taking what is played; dropping it</source>
        <translation>a hangkimenet nem fogadja a lejátszandót; eldobja</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="238"/>
        <source>the recording fell behind and lost samples</source>
        <translation>a felvétel lemaradt, és mintákat vesztett</translation>
    </message>
    <message>
        <location filename="../sound/player.cpp" line="298"/>
        <source>cannot write the recording %1 (%2); it ends here</source>
        <translation>nem írható a felvétel: %1 (%2); itt véget ér</translation>
    </message>
</context>
<context>
    <name>ProblemLimit</name>
    <message>
        <location filename="../../common/reportproblem.cpp" line="58"/>
        <source>and %1 more such problems within %2 s, left unsaid</source>
        <translation>és még %1 ilyen hiba %2 s alatt, ezeket nem írja ki</translation>
    </message>
</context>
<context>
    <name>PtyLine</name>
    <message>
        <location filename="../line/ptyline.cpp" line="54"/>
        <source>cannot watch %1 (%2); a trainer that closes the line and comes back will not be noticed</source>
        <translation>nem figyelhető: %1 (%2); ha az oktatóprogram bezárja a vonalat, majd visszatér, azt nem veszi észre</translation>
    </message>
    <message>
        <location filename="../line/ptyline.cpp" line="80"/>
        <source>the line is not being read; dropping what the keyer sends</source>
        <translation>a vonalat senki sem olvassa; eldobja, amit a billentyűző küldene</translation>
    </message>
    <message>
        <location filename="../line/ptyline.cpp" line="141"/>
        <source>the line has gone (%1); no longer reading it</source>
        <translation>a vonal megszűnt (%1); többé nem olvassa</translation>
    </message>
    <message>
        <location filename="../line/ptyline.cpp" line="142"/>
        <source>end of file</source>
        <translation>fájl vége</translation>
    </message>
</context>
<context>
    <name>ReviewList</name>
    <message>
        <location filename="../window/reviewlist.cpp" line="185"/>
        <source>No characters were sent: tick the characters to practise in the trainer&apos;s window.</source>
        <translation>Nem jött jel: a gyakorolni kívánt jeleket az oktatóprogram ablakában jelölje be.</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="74"/>
        <source>Each echo group you key back is reviewed here.</source>
        <translation>Itt látja, hogyan adta vissza az egyes csoportokat.</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="136"/>
        <source>%1 keyed as %2: %3</source>
        <translation>%1 helyett %2: %3</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="197"/>
        <source>%1 %2 left out</source>
        <translation>%1 %2 kimaradt</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="199"/>
        <source>extra %1 %2</source>
        <translation>fölösleges %1 %2</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="201"/>
        <source>%1 %2 keyed as %3 %4</source>
        <translation>%1 %2 helyett %3 %4</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="203"/>
        <source> (# is no Morse character)</source>
        <translation> (# = nem Morse-jel)</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="205"/>
        <source> keyed after the group: not counted</source>
        <translation> a csoport után: nem számít bele</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="210"/>
        <source>characters not keyed: %1 (after your silence the keyer sent # for each)</source>
        <translation>kimaradt jelek: %1 (a csend után a billentyűző mindegyikért # jelet küldött)</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="136"/>
        <location filename="../window/reviewlist.cpp" line="176"/>
        <source>right</source>
        <translation>jó</translation>
    </message>
    <message>
        <location filename="../window/reviewlist.cpp" line="136"/>
        <location filename="../window/reviewlist.cpp" line="176"/>
        <source>wrong</source>
        <translation>hibás</translation>
    </message>
</context>
<context>
    <name>SoundOutput</name>
    <message>
        <source>starting PipeWire</source>
        <translation type="vanished">a PipeWire indítása</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="106"/>
        <location filename="../sound/pipewireoutput.cpp" line="112"/>
        <source>starting PipeWire: %1</source>
        <translation>a PipeWire indítása: %1</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="119"/>
        <source>connecting: %1</source>
        <translation>kapcsolódás: %1</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="232"/>
        <source>the server went away</source>
        <translation>a kiszolgáló eltűnt</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="238"/>
        <source>playing: %1</source>
        <translation>lejátszás: %1</translation>
    </message>
    <message>
        <location filename="../sound/pulseoutput.cpp" line="70"/>
        <location filename="../sound/pulseoutput.cpp" line="75"/>
        <location filename="../sound/pulseoutput.cpp" line="82"/>
        <source>opening a stream</source>
        <translation>adatfolyam megnyitása</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="164"/>
        <source>opening a stream: no answer</source>
        <translation>adatfolyam megnyitása: nincs válasz</translation>
    </message>
    <message>
        <location filename="../sound/pipewireoutput.cpp" line="156"/>
        <location filename="../sound/pipewireoutput.cpp" line="168"/>
        <source>opening a stream: %1</source>
        <translation>adatfolyam megnyitása: %1</translation>
    </message>
    <message>
        <source>playing: the server went away</source>
        <translation type="vanished">lejátszás: a hangkiszolgáló eltűnt</translation>
    </message>
    <message>
        <location filename="../sound/pulseoutput.cpp" line="58"/>
        <source>connecting</source>
        <translation>kapcsolódás</translation>
    </message>
    <message>
        <location filename="../sound/pulseoutput.cpp" line="160"/>
        <location filename="../sound/pulseoutput.cpp" line="191"/>
        <source>playing</source>
        <translation>lejátszás</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>%1 exists and is no link; not replacing it</source>
        <translation>%1 már létezik, és nem hivatkozás; nem cseréli le</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="48"/>
        <source>cannot make the link %1</source>
        <translation>nem hozható létre a hivatkozás: %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="76"/>
        <source>%1 (try --help)</source>
        <translation>%1 (segítség: --help)</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="111"/>
        <source>this Qt has no windows-1250 codec; the line needs it</source>
        <translation>ebben a Qt-ben nincs windows-1250 kódolás; a vonalnak kell</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="118"/>
        <source>cannot open a pseudo-terminal (%1)</source>
        <translation>nem nyitható meg pszeudoterminál (%1)</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="127"/>
        <source>fast mode; playing silently</source>
        <translation>gyors mód; hang nélkül játszik</translation>
    </message>
</context>
</TS>
