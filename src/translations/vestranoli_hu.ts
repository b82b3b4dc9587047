<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu_HU">
<context>
    <name>CommandLine</name>
    <message>
        <source>vestranoli: %1 (try --help)</source>
        <translation>vestranoli: %1 (segítség: --help)</translation>
    </message>
    <message>
        <source>--days takes a whole number of days, 0 for all</source>
        <translation>a --days a napok számát várja, egész számként; 0: az egész előzmény</translation>
    </message>
    <message>
        <source>Usage: vestranoli [options]
Morse-code trainer for a keyer on a serial line (9600 baud, 8N1).

  --data-dir DIR   keep ini.txt and morse.txt in DIR instead of %1
  --port DEVICE    talk to the keyer on DEVICE instead of serial port 1
                   (%2)
  --stats          show the statistics of the training history in a window
  --stats --text   print them as a table instead [--days N: the last N days]
  --score-copy     score a copy run: type what you copied, see it checked
  --course         where you stand in the Koch course; take the next lesson
  --help           show this text
  --version        show the version
</source>
        <translation>Használat: vestranoli [kapcsolók]
Morzegyakorló soros vonalon (9600 baud, 8N1) csatlakozó billentyűzőhöz.

  --data-dir MAPPA  az ini.txt és a morse.txt mappája (alapesetben %1)
  --port ESZKÖZ     a billentyűző vonala (alapesetben az 1. soros port:
                    %2)
  --stats           a gyakorlási előzmény statisztikája egy ablakban
  --stats --text    ugyanez táblázatként [--days N: az utolsó N nap]
  --score-copy      egy másolás pontozása: írja be, amit leírt
  --course          hol tart a Koch-tanfolyamon; a következő lecke
  --help            ez a szöveg
  --version         a változat
</translation>
    </message>
    <message>
        <source>the first USB serial adapter, else /dev/ttyS0</source>
        <translation>az első USB-s soros illesztő, ha nincs, /dev/ttyS0</translation>
    </message>
    <message>
        <source>--data-dir wants a folder of its own, not the root of the file system.</source>
        <translation>a --data-dir saját mappát kér, nem a fájlrendszer gyökerét.</translation>
    </message>
    <message>
        <source>no home folder to keep Kelinor in; choose a folder with --data-dir DIR.</source>
        <translation>nincs saját mappa a Kelinor számára; válasszon mappát: --data-dir MAPPA.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Váratlan argumentum: „%1”.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>cannot write the report file %1 (%2)</source>
        <translation>nem írható a jelentésfájl: %1 (%2)</translation>
    </message>
    <message>
        <source>cannot save the settings file %1 (%2)</source>
        <translation>nem menthető a beállításfájl: %1 (%2)</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>nem hozható létre a mappa: %1</translation>
    </message>
    <message>
        <source>another trainer is using the folder %1; not starting</source>
        <translation>egy másik gyakorló használja a mappát: %1; nem indul</translation>
    </message>
    <message>
        <source>cannot lock the folder %1; going on without the lock</source>
        <translation>a mappa nem zárható le: %1; zárolás nélkül folytatja</translation>
    </message>
    <message>
        <source>cannot empty the report file %1 (%2)</source>
        <translation>nem üríthető a jelentésfájl: %1 (%2)</translation>
    </message>
    <message>
        <source>the settings file %1 is incomplete; using the defaults</source>
        <translation>a beállításfájl hiányos: %1; az alapbeállításokkal indul</translation>
    </message>
    <message>
        <source>cannot read the settings file %1 (%2); using the defaults</source>
        <translation>nem olvasható a beállításfájl: %1 (%2); az alapbeállításokkal indul</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>%1 echo group</source>
        <translation>%1 oda-vissza csoport</translation>
    </message>
    <message>
        <source>%1 echo groups</source>
        <translation>%1 oda-vissza csoport</translation>
    </message>
    <message>
        <source>%1 copy run</source>
        <translation>%1 másolás</translation>
    </message>
    <message>
        <source>%1 copy runs</source>
        <translation>%1 másolás</translation>
    </message>
    <message>
        <source> and </source>
        <translation> és </translation>
    </message>
    <message>
        <source>cannot keep the training history</source>
        <translation>nem vezethető az előzmény</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is missing</source>
        <translation>hiányzik a Qt SQLite-illesztőprogramja</translation>
    </message>
    <message>
        <source>cannot open the training history</source>
        <translation>nem nyitható meg az előzmény</translation>
    </message>
    <message>
        <source>cannot read the training history</source>
        <translation>nem olvasható az előzmény</translation>
    </message>
    <message>
        <source>; what a trainer wrote last is in its -wal file, which is read only through a -shm file beside it that this user can write</source>
        <translation>; egy gyakorló legutóbbi bejegyzései a -wal fájlban vannak, az pedig csak egy mellette levő, ennek a felhasználónak írható -shm fájlon át olvasható</translation>
    </message>
    <message>
        <source>the training history is not a database this program can read</source>
        <translation>az előzmény nem olyan adatbázis, amelyet ez a program olvasni tud</translation>
    </message>
    <message>
        <source>the training history was written by a newer Vestranoli</source>
        <translation>az előzményt egy újabb Vestranoli írta</translation>
    </message>
    <message>
        <source>layout %1, this one knows up to %2; it is left alone</source>
        <translation>szerkezete: %1, ez a program legfeljebb ezt ismeri: %2; érintetlenül marad</translation>
    </message>
    <message>
        <source>the training history is some other database</source>
        <translation>az előzmény helyén egy másik adatbázis van</translation>
    </message>
    <message>
        <source>it is left alone</source>
        <translation>érintetlenül marad</translation>
    </message>
    <message>
        <source>cannot prepare the training history</source>
        <translation>nem készíthető elő az előzmény</translation>
    </message>
    <message>
        <source>the training history is damaged, and left as it is:</source>
        <translation>az előzmény sérült, ezért változatlanul marad</translation>
    </message>
    <message>
        <source>%1 %2 (%3)%4</source>
        <translation>%1: %2 (%3)%4</translation>
    </message>
    <message>
        <source>; training goes on without it</source>
        <translation>; a gyakorlás nélküle folytatódik</translation>
    </message>
    <message>
        <source>; what is recorded is kept until it can be written</source>
        <translation>; a rögzítetteket megőrzi, amíg be nem írhatja őket</translation>
    </message>
    <message>
        <source>cannot write the training history</source>
        <translation>nem írható az előzmény</translation>
    </message>
    <message>
        <source>the training history %1 takes writes again; %2 written now</source>
        <translation>az előzmény újra írható: %1; most beírva: %2</translation>
    </message>
    <message>
        <source>the training history %1 could not be written before the end; lost from this session: %2%3</source>
        <translation>az előzmény a kilépésig sem volt írható: %1; ebből a gyakorlásból elveszett: %2%3</translation>
    </message>
    <message>
        <source> (not noted in %1 either: %2)</source>
        <translation> (feljegyezni sem sikerült ide: %1; %2)</translation>
    </message>
    <message>
        <source>there is no copy run %1</source>
        <translation>nincs ilyen másolás: %1</translation>
    </message>
    <message>
        <source>cannot store the copy&apos;s result in the training history %1 (%2)</source>
        <translation>nem menthető a másolás eredménye az előzménybe: %1 (%2)</translation>
    </message>
    <message>
        <source>database is locked</source>
        <translation>az adatbázis zárolva van</translation>
    </message>
    <message>
        <source>attempt to write a readonly database</source>
        <translation>írásvédett adatbázisba írna</translation>
    </message>
    <message>
        <source>disk I/O error</source>
        <translation>lemezhiba (I/O)</translation>
    </message>
    <message>
        <source>database disk image is malformed</source>
        <translation>az adatbázisfájl sérült</translation>
    </message>
    <message>
        <source>database or disk is full</source>
        <translation>megtelt az adatbázis vagy a lemez</translation>
    </message>
    <message>
        <source>unable to open database file</source>
        <translation>nem nyitható meg az adatbázisfájl</translation>
    </message>
    <message>
        <source>file is not a database</source>
        <translation>a fájl nem adatbázis</translation>
    </message>
</context>
<context>
    <name>MSComm</name>
    <message>
        <source>line settings &quot;%1&quot; not understood; keeping 9600,N,8,1</source>
        <translation>a vonal beállítása érthetetlen: „%1”; marad a 9600,N,8,1</translation>
    </message>
    <message>
        <source>cannot open the keyer line %1: it belongs to the user %2, and no group you could join may use it (ask %2 or your administrator for it); going on without a keyer</source>
        <translation>nem nyitható meg a billentyűző vonala: %1; tulajdonosa: %2, és nincs csoport, amelybe belépve használhatná (kérje el tőle vagy a rendszergazdától); billentyűző nélkül folytatja</translation>
    </message>
    <message>
        <source>cannot open the keyer line %1: you are not in the group %2 (sudo adduser $USER %2, then log out and in again); going on without a keyer</source>
        <translation>nem nyitható meg a billentyűző vonala: %1; nem tagja ennek a csoportnak: %2 (sudo adduser $USER %2, majd jelentkezzen ki és be); billentyűző nélkül folytatja</translation>
    </message>
    <message>
        <source>cannot open the keyer line %1 (%2); going on without a keyer</source>
        <translation>nem nyitható meg a billentyűző vonala: %1 (%2); billentyűző nélkül folytatja</translation>
    </message>
    <message>
        <source>the keyer line %1 is gone; waiting for it to come back</source>
        <translation>a billentyűző vonala eltűnt: %1; várja, hogy visszatérjen</translation>
    </message>
    <message>
        <source>port 1 is %1, %2 (--port DEVICE chooses another)</source>
        <translation>az 1. port: %1, %2 (másikat a --port ESZKÖZ választ)</translation>
    </message>
    <message>
        <source>the keyer line %1 is back</source>
        <translation>a billentyűző vonala újra megvan: %1</translation>
    </message>
    <message>
        <source>a USB serial adapter</source>
        <translation>egy USB-s soros illesztő</translation>
    </message>
    <message>
        <source>the built-in serial port</source>
        <translation>a beépített soros port</translation>
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
    <name>SettingsFile</name>
    <message>
        <source>it is a symbolic link to %1, which is not written</source>
        <translation>szimbolikus hivatkozás erre: %1, amelyet nem ír felül</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>vestranoli: no display to show the window on (DISPLAY is not set)
</source>
        <translation>vestranoli: nincs képernyő az ablaknak (a DISPLAY nincs beállítva)
</translation>
    </message>
    <message>
        <source>vestranoli: this Qt has no windows-1250 codec; the files and the keyer line need it
</source>
        <translation>vestranoli: ebben a Qt-ben nincs windows-1250 kódolás; a fájloknak és a billentyűző vonalának kell
</translation>
    </message>
    <message>
        <source>vestranoli: cannot open the display to show the window on
</source>
        <translation>vestranoli: nem nyitható meg a képernyő az ablak számára
</translation>
    </message>
</context>
</TS>
