// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsfile.h"

#include "common/codepage.h"
#include "settings/numberfromtext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

const char16_t slotCharacters[] = u"TEMSIOHAUVNDBWJGZCQYRFLPKX\u00C1\u00C9\u00D6\u00DC1234567890.?:-=/@";

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isFieldEnd(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('\t') || isLineEnd(c);
}

// An editor may have saved the file as UTF-8. Text in code page 1250 is
// hardly ever valid UTF-8 once it has a byte above 0x7F (Á É Ö Ü alone never
// are), so valid UTF-8 with a multi-byte sequence is read as UTF-8.
QString settingsText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) > 0x7F; });
    return multiByte && !utf8.hasError() ? text : fromCodePage1250(bytes);
}

} // namespace

QChar slotCharacter(int slot)
{
    if (slot < 1 || slot > slotCount)
        return QLatin1Char(' ');
    return QChar(slotCharacters[slot - 1]);
}

std::optional<StoredSettings> parseSettingsFile(QByteArrayView bytes)
{
    const QString text = settingsText(bytes);
    qsizetype i = 0;
    const qsizetype n = text.size();

    while (i < n && !isLineEnd(text[i]))
        ++i;
    StoredSettings stored;
    stored.selection = text.left(i);

    std::array<qint16, 4> values{};
    for (qint16 &value : values) {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || isLineEnd(text[i])))
            ++i;
        if (i >= n)
            return std::nullopt;
        const qsizetype start = i;
        while (i < n && !isFieldEnd(text[i]))
            ++i;
        value = numberFromText(QStringView(text).mid(start, i - start));
        // A comma after the field, blanks before it or not, separates it
        // from the next field; it does not start an empty one.
        qsizetype j = i;
        while (j < n && (text[j] == QLatin1Char(' ') || text[j] == QLatin1Char('\t')))
            ++j;
        if (j < n && text[j] == QLatin1Char(','))
            i = j + 1;
    }
    stored.parameters = {values[0], values[1], values[2], values[3]};
    return stored;
}

std::optional<StoredSettings> readSettingsFile(QIODevice &file)
{
    return parseSettingsFile(file.read(settingsReadLimit));
}

StartupSettings settingsForStartUp(const std::optional<StoredSettings> &stored)
{
    StartupSettings result;
    if (!stored || stored->parameters.speed < 10)
        return result;
    result.fromFile = true;
    result.selection = stored->selection;
    result.parameters = stored->parameters;
    Parameters &p = result.parameters;
    p.groupsize = std::min<qint16>(p.groupsize, 15);
    p.pausevalue = std::clamp<qint16>(p.pausevalue, 0, 255);
    return result;
}

QString selectionLine(const std::array<QChar, 51> &charslots)
{
    QString line;
    for (int slot = 1; slot <= 49; ++slot) {
        const QChar c = charslots[slot];
        line += isSelectedSlot(c) ? c : QLatin1Char(' ');
    }
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

QString savedNumber(QStringView boxText, qint16 held)
{
    QString digits;
    const std::optional<double> value = readNumber(boxText, &digits);
    const double inRange = value ? std::clamp(*value, -32768.0, 32767.0) : held;
    if (!value || inRange != *value) {
        const qint64 whole = qint64(inRange);
        return whole < 0 ? QString::number(whole) : QLatin1Char(' ') + QString::number(whole);
    }
    // The digits as typed, so that the file reads back as exactly what the
    // box reads: a plus sign, leading zeros and trailing fraction zeros go.
    const bool negative = digits.startsWith(QLatin1Char('-')) && *value != 0;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    if (digits.contains(QLatin1Char('.'))) {
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    while (digits.startsWith(QLatin1Char('0')) && digits.size() > 1 && digits[1] != QLatin1Char('.'))
        digits.remove(0, 1);
    if (digits.isEmpty() || digits.startsWith(QLatin1Char('.')))
        digits.prepend(QLatin1Char('0'));
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + digits;
}

QByteArray settingsFileBytes(QStringView selection, const std::array<QString, 4> &numbers)
{
    QString secondLine;
    for (const QString &number : numbers) {
        // A positive number brings its own separating blank; a negative one
        // needs one in front of its sign.
        if (!secondLine.isEmpty() && number.startsWith(QLatin1Char('-')))
            secondLine += QLatin1Char(' ');
        secondLine += number;
    }
    return toCodePage1250(selection) + "\r\n" + toCodePage1250(secondLine) + "\r\n";
}

QString saveSettingsFile(const QString &path, const QByteArray &bytes)
{
    // QSaveFile follows a link and replaces its target.
    const QFileInfo info(path);
    if (info.isSymLink())
        return QCoreApplication::translate("SettingsFile", "it is a symbolic link to %1, which is not written")
            .arg(info.symLinkTarget());
    // Unbuffered, so that a full disk shows at write(): Qt 6.4's QSaveFile
    // drops the error of the flush inside commit() and would put an empty
    // file in its place.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return file.errorString();
}
