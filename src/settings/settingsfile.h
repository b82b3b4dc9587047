// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The settings file "ini.txt": line 1 is the selection (slot k's character
// at position k, blanks for unselected slots, trailing blanks removed),
// line 2 the speed, letters per group, groups and pause. Code page 1250,
// CR LF line ends.

class QIODevice;

struct Parameters {
    qint16 speed = 60;
    qint16 groupsize = 5;
    qint16 groupcount = 30;
    qint16 pausevalue = 50;
};

// The five items exactly as read, each number rounded and held to 16 bits.
struct StoredSettings {
    QString selection;
    Parameters parameters;
};

// Empty when the file holds fewer than five items. Reads CR LF and LF alike,
// and UTF-8 as an editor may have saved it.
std::optional<StoredSettings> parseSettingsFile(QByteArrayView bytes);

// The file read from `file`, no more of it than can matter: the trainer
// writes under 100 bytes, and only 49 characters of line 1 and four numbers
// count. A longer file costs no more memory.
constexpr qint64 settingsReadLimit = 16 * 1024;
std::optional<StoredSettings> readSettingsFile(QIODevice &file);

// What the start-up takes: the file when its speed is 10 or more (letters per
// group held to 15, the group record's width, and pause to 0..255, the pause
// frame's one byte), otherwise the defaults with nothing selected.
struct StartupSettings {
    bool fromFile = false;
    QString selection;
    Parameters parameters;
};
StartupSettings settingsForStartUp(const std::optional<StoredSettings> &stored);

// The slot number of each training character, as on the check boxes.
constexpr int slotCount = 47;
QChar slotCharacter(int slot); // slot 1..47

// A slot counts as selected when it holds a character above the blank.
inline bool isSelectedSlot(QChar slot)
{
    return slot.unicode() > ' ';
}

// Line 1 built from slots 1 to 49.
QString selectionLine(const std::array<QChar, 51> &charslots);

// A parameter box's text as line 2 writes it: " 60", "-3", " 5.5". A box that
// holds no number is written as `held`; values outside 16 bits are clamped.
QString savedNumber(QStringView boxText, qint16 held);

// The whole file: the selection line and the four numbers.
QByteArray settingsFileBytes(QStringView selection, const std::array<QString, 4> &numbers);

// Replaces the settings file at `path` with `bytes`, whole or not at all.
// A symbolic link in its place is refused: replacing it would write the
// file it points to, wherever that is. Empty when saved, else why not.
QString saveSettingsFile(const QString &path, const QByteArray &bytes);
