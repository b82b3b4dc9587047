// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ends the event loop on SIGINT, SIGTERM and SIGHUP (Ctrl-C, a desktop
// logging out, a closed terminal), so that the program leaves the way it
// does when its window closes: what it holds is written, its files are let
// go. Where there are no such signals it does nothing.
void quitOnSignals();
