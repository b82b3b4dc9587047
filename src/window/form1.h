// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The trainer's one window. It holds its controls under their names, the
// run it drives and the link state; it shows what the run holds. Its
// handlers are all in window/, one file for each part of the trainer; what
// they do that needs no widget lives below, in the folder of its subsystem,
// each one library that links only those before it (src/CMakeLists.txt):
//
//   window/    this class, the layout of the controls, the start-up
//              (formload.cpp: Form_Load), and the handlers: the receive
//              handler MSComm1_OnComm (receivehandler.cpp), kikukdo
//              (groupsender.cpp), the selection, Start, Stop and Oda - Vissza
//              (selection.cpp, runcontrol.cpp), the check report
//              (checkreport.cpp), the parameter buttons and Kilép
//              (parameterbuttons.cpp, savesettings.cpp), and what goes into
//              the history (recordtraining.cpp)
//   runs/      Run: the selection, the parameters, the groups drawn and
//              their record (grouplog), the scoring of a group keyed back and
//              the counters; the report file's block
//   link/      the keyer line (MSComm), the choice of serial port 1, what a
//              read from the keyer looks like (separateReports, trimSpaces),
//              and the band the software keyer plays through (keyerBand)
//   alphabet/  Alphabet, the Morse table: betutar fills it, betukeres
//              decodes with it
//   settings/  the settings file's format, the parameters, numbers from text
//   history/   the training history: every scored echo group and every
//              finished copy run, kept in the data folder
//   desktop/   the command line, the message box and the program's end
//
// How a text from the keyer travels: MSComm raises OnComm for every read;
// MSComm1_OnComm logs the read in Text6 (a read of report letters alone is
// then taken letter by letter), trims its spaces, and tests the token in a
// fixed order: an element report (R, H) grows the run's elementbuf; a
// character end (V) has the run decode elementbuf into rxgroup, shown in
// Text4, and, once groupsize characters have come, score the group, shown
// in Text7 or Text8, and kikukdo sends the next one; an "x" before the
// handshake is answered with <qq>; an "OK" counts the group off the run's
// groupcount and sends the next group or ends the run. When the line is
// lost, MSComm raises OnComm once more: the trainer is back to unconnected,
// and MSComm reopens the device when it reappears.
//
// Every handler runs to its end on the one event thread; kikukdo writes its
// whole frame before any reply of the keyer is looked at.

#include "alphabet/alphabet.h"
#include "desktop/options.h"
#include "desktop/platform.h"
#include "history/history.h"
#include "link/mscomm.h"
#include "runs/run.h"

#include <QColor>
#include <QLockFile>
#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class ColourButton;
class MultiLineTextBox;
class Shape;
class SpokenNotice;
class TextBox;

namespace Colours {
inline const QColor red(255, 0, 0);
inline const QColor darkRed(192, 0, 0);
inline const QColor darkGreen(0, 128, 0);
inline const QColor green(0, 192, 0);
} // namespace Colours

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const Options &options, QWidget *parent = nullptr);

    // The start-up: report file, keyer line, settings file, state, Morse
    // table, selection, parameters. Runs once, before the window is shown.
    // False, with both files untouched, when another trainer uses the folder.
    bool Form_Load();

    // The Morse table the run decodes with, and the run: the selection, the
    // parameters, the groups, their scoring and counters.
    Alphabet alphabet;
    Run run{alphabet};

    // Controls.
    std::array<QCheckBox *, 48> Check{}; // Check[1] to Check[47]
    TextBox *Text1 = nullptr;
    TextBox *Text2 = nullptr;
    TextBox *Text3 = nullptr;
    MultiLineTextBox *Text4 = nullptr;
    TextBox *Text5 = nullptr;
    TextBox *Text6 = nullptr;
    TextBox *Text7 = nullptr;
    TextBox *Text8 = nullptr;
    TextBox *Text9 = nullptr;
    TextBox *Text10 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    ColourButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command12 = nullptr;
    ColourButton *Command13 = nullptr;
    QPushButton *Command14 = nullptr;
    QPushButton *Command15 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    Shape *Shape1 = nullptr;
    Shape *Shape2 = nullptr;
    Shape *Shape3 = nullptr;
    std::array<Shape *, 10> Shape4{};
    Shape *Shape5 = nullptr;
    Shape *Shape6 = nullptr;
    Shape *Shape7 = nullptr;
    Shape *Shape8 = nullptr;
    Shape *Shape9 = nullptr;
    MSComm MSComm1;

    // Not a control: the record of the training kept across starts.
    History history;

    // The platform services a test may watch.
    MessageBox messageBox;
    ProgramEnd programEnd;
    SpokenNotice *notice = nullptr; // what a screen reader says unasked

    QString reportPath() const;
    QString settingsPath() const;
    QString historyPath() const;

    // Event handlers.
    void MSComm1_OnComm();
    void Check_Click(int N);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();

private:
    // Routines the handlers call.
    void kikukdo();
    void tombbetolt();

    void createControls();
    void setFocusOrder();
    void nameControls();
    void wireEvents();
    void sendFrame(const QByteArray &frame);
    void setParameterBoxes();
    void speedButtonDone();
    void groupsizeButtonDone(qint16 groupsize);
    void pauseButtonDone();
    void appendToReceiveLog(const QString &read);
    void takeToken(QString token);
    void showLinkState();
    bool keyerAnswered();
    void recordEchoGroup(const Run::CharacterEnd &scored);
    void sayScore(const QString &sent, const QString &decoded);
    void recordCopyRun();
    void lineLost();

    Options m_options;
    QLockFile m_folderLock; // held while the trainer runs: one trainer per folder
    bool connected = false; // the keyer's handshake has been answered
    qint16 selectallstate = 0; // 0: the next Command3 selects all; 1: it deselects
};
