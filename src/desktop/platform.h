// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's one message: a modal box with the error icon and an OK
// button. Tests take the text instead of a box that would block them.
class MessageBox
{
public:
    void critical(QWidget *parent, const QString &text);
    void interceptWith(std::function<void(const QString &)> receiver) { m_receiver = std::move(receiver); }

private:
    std::function<void(const QString &)> m_receiver;
};

// "End the program at once": leave the event loop, so that no further event
// of the window or the line is handled. A status other than 0 tells whoever
// started the program that something failed. Tests watch for it instead.
class ProgramEnd
{
public:
    void now(int status = 0);
    int status() const { return m_status; }
    void interceptWith(std::function<void()> receiver) { m_receiver = std::move(receiver); }

private:
    std::function<void()> m_receiver;
    int m_status = 0;
};

// Name, version and style of the application, for the program and the tests
// alike. No display name: on X11 Qt would append it to every window title.
void setUpApplication();

// The focused control of every window framed, whether the focus came by
// Tab or not (part of setUpApplication).
void showFocusFrames();

// Qt's own texts (the buttons of a message box, a file dialog) in Hungarian,
// as the program's are whatever the desktop's language. Where Qt's
// translations are not installed they stay in English.
void loadQtTranslations();

// The trainer's terminal messages and --help in Hungarian on a Hungarian
// desktop; in English, as written, on any other.
void loadTerminalTranslation();
// The same for a message said where no application could be made.
QString terminalTextWithoutApplication(const char *context, const char *text);
