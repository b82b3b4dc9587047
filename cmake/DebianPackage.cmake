# SPDX-License-Identifier: GPL-3.0-or-later
# cpack -G DEB: the Debian package, with the dependencies that
# dpkg-shlibdeps reads off the programs. scripts/build-deb builds it with
# Debian's hardening flags.

set(CPACK_PACKAGE_NAME vestranoli)
set(CPACK_PACKAGE_VENDOR "The Vestranoli developers")
set(CPACK_PACKAGE_CONTACT "The Vestranoli developers <vestranoli@vestranoli.hu>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Morse code trainer for a keyer on a serial line")
set(CPACK_PACKAGE_DESCRIPTION "Vestranoli trains copying and keying Morse code. The trainee ticks the
characters to practise; the trainer sends random groups of them to a Morse
keyer on a serial line (9600 baud, 8N1), which plays them. In a copy run the
groups are written down and checked against a list afterwards; in an echo run
each group is shown, keyed back on the keyer and scored.

A software keyer, vestranoli-keyer, plays the keyer's side of the line on a
pseudo-terminal with a sidetone on the sound card, for training without
keyer hardware. The window's texts are Hungarian.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://vestranoli.hu/)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The training history's SQLite driver is a plugin, which no link names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6sql6-sqlite)
# The window asks for Arial, which is Liberation Sans on Debian. Qt's own
# dialogs and buttons are Hungarian with Qt's translations; without them they
# are English, and the trainer works all the same. On PipeWire the keyer's
# sidetone answers the key soonest from PipeWire's real-time thread, which
# rtkit grants; without it the keyer goes through the slower PulseAudio
# service.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n, rtkit")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

include(CPack)
