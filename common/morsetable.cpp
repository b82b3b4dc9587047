// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/morsetable.h"

const std::array<MorseEntry, 47> &morseTable()
{
    static const std::array<MorseEntry, 47> table = {{
        {u"RH", u'A'},     {u"HRRR", u'B'},       {u"HRHR", u'C'},       {u"HRR", u'D'},       {u"R", u'E'},
        {u"RRHR", u'F'},   {u"HHR", u'G'},        {u"RRRR", u'H'},       {u"RR", u'I'},        {u"RHHH", u'J'},
        {u"HRH", u'K'},    {u"RHRR", u'L'},       {u"HH", u'M'},         {u"HR", u'N'},        {u"HHH", u'O'},
        {u"RHHR", u'P'},   {u"HHRH", u'Q'},       {u"RHR", u'R'},        {u"RRR", u'S'},       {u"H", u'T'},
        {u"RRH", u'U'},    {u"RRRH", u'V'},       {u"RHH", u'W'},        {u"HRRH", u'X'},      {u"HRHH", u'Y'},
        {u"HHRR", u'Z'},   {u"RHHRH", u'\u00C1'}, {u"RRHRR", u'\u00C9'}, {u"HHHR", u'\u00D6'}, {u"RRHH", u'\u00DC'},
        {u"RHHHH", u'1'},  {u"RRHHH", u'2'},      {u"RRRHH", u'3'},      {u"RRRRH", u'4'},     {u"RRRRR", u'5'},
        {u"HRRRR", u'6'},  {u"HHRRR", u'7'},      {u"HHHRR", u'8'},      {u"HHHHR", u'9'},     {u"HHHHH", u'0'},
        {u"RHRHRH", u'.'}, {u"RRHHRR", u'?'},     {u"HHHRRR", u':'},     {u"HRRRRH", u'-'},    {u"HRRRH", u'='},
        {u"HRRHR", u'/'},  {u"RHHRHR", u'@'},
    }};
    return table;
}

QString elementsOf(QChar character)
{
    for (const MorseEntry &entry : morseTable()) {
        if (character == QChar(entry.character))
            return QString::fromUtf16(entry.elements);
    }
    return {};
}

QChar characterOf(QStringView elements)
{
    for (const MorseEntry &entry : morseTable()) {
        if (elements == QStringView(entry.elements))
            return QChar(entry.character);
    }
    return QLatin1Char('#');
}
