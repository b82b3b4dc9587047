// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/platform.h"
#include "lineend.h"
#include "window/colourbutton.h"
#include "window/form1.h"
#include "window/textbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A trainer on its own folder; the line's test seam takes what it sends.
struct Trainer {
    explicit Trainer(const QString &dir)
        : form(Options{dir, QStringLiteral("/nonexistent/keyer")})
    {
        form.MSComm1.interceptWith([](char) {});
        form.programEnd.interceptWith([this] { ++ends; });
        form.messageBox.interceptWith([this](const QString &text) { messages << text; });
        started = form.Form_Load();
    }
    Form1 form;
    int ends = 0;
    bool started = false;
    QStringList messages;
};

// Runs `action` in a child process that can write no file beyond `limit`
// bytes, as on a full disk; gives its exit status and what it said on stderr.
std::pair<int, QByteArray> withFileSizeLimit(rlim_t limit, const std::function<int()> &action)
{
    int said[2];
    if (pipe(said) != 0)
        return {-1, {}};
    const pid_t child = fork();
    if (child == 0) {
        dup2(said[1], STDERR_FILENO);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        _exit(action());
    }
    close(said[1]);
    QFile stderrText;
    stderrText.open(said[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray text = stderrText.readAll();
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

QList<int> tickedBoxes(const Form1 &form)
{
    QList<int> ticked;
    for (int n = 1; n <= 47; ++n) {
        if (form.Check[n]->isChecked())
            ticked.append(n);
    }
    return ticked;
}

QString slotsText(const Form1 &form, int from, int to)
{
    QString text;
    for (int n = from; n <= to; ++n)
        text += form.run.charslots()[n];
    return text;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void start_up_without_settings();
    void start_up_restores_data();
    void start_up_restores();
    void kilep_saves_and_the_next_start_gets_it_back();
    void a_full_disk_loses_nothing_data();
    void a_full_disk_loses_nothing();
    void a_second_start_on_the_folder_data();
    void a_second_start_on_the_folder();
    void select_all_alternates();
    void frame_and_focus_order();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("ini.txt")); }
    QString report() const { return m_dir->filePath(QStringLiteral("morse.txt")); }
};

void WindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void WindowTest::start_up_without_settings()
{
    Trainer t(m_dir->path());
    Form1 &f = t.form;

    // The parameter boxes of a first start are in the start-up table, the
    // connection label's text in the layout table; value boxes, label and scores centre their text.
    QCOMPARE(f.Text7->text() + f.Text8->text(), QStringLiteral("00"));
    QCOMPARE(f.Label5->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (QWidget *w : std::initializer_list<QWidget *>{f.Text1, f.Text2, f.Text3, f.Text5, f.Label5, f.Text7, f.Text8})
        QCOMPARE(w->property("alignment").value<Qt::Alignment>(), Qt::AlignCenter);
    QVERIFY(tickedBoxes(f).isEmpty());
    // The training alphabet decodes the elements keyed; anything else is "#".
    const QStringList codes = QStringLiteral("R=E H=T RH=A HHHHH=0 RHHHH=1 RHHRHR=@ RRHHRR=? HRRRRH=- RHHRH=\u00C1 "
                                             "RRHRR=\u00C9 HHHR=\u00D6 RRHH=\u00DC ==# RRRRRR=# RHRH=# HHHH=# "
                                             "RHRHRHR=# rh=# RXH=#")
                                  .split(QLatin1Char(' '));
    for (const QString &code : codes)
        QCOMPARE(f.alphabet.betukeres(code.section(QLatin1Char('='), 0, 0)), code.section(QLatin1Char('='), -1));
    for (const char *blanked : {" RH", "RH "})
        QCOMPARE(f.alphabet.betukeres(QLatin1String(blanked)), QStringLiteral("#"));
}

void WindowTest::start_up_restores_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("boxes"); // Text1, Text2, Text3, Text5
    QTest::addColumn<bool>("taken");

    QTest::newRow("speed 9 ignores the file")
        << QByteArray("TEMS\r\n 9 5 30 50\r\n") << QList<int>{} << QStringList{"5", "30", "50", "60"} << false;
    QTest::newRow("slots 1, 5 and 47; an X in slot 1 ticks T")
        << QByteArray("X   I" + QByteArray(41, ' ') + "@\r\n 60 5 30 50\r\n") << QList<int>{1, 5, 47}
        << QStringList{"5", "30", "50", "60"} << true;
    QTest::newRow("only the first 49 characters count") << QByteArray(QByteArray(49, ' ') + "TEMS\r\n 60 5 30 50\r\n")
                                                        << QList<int>{} << QStringList{"5", "30", "50", "60"} << true;
    QTest::newRow("speed 10 takes it, clamped")
        << QByteArray("T\r\n 10 40 99999 -7\r\n") << QList<int>{1} << QStringList{"15", "32767", "0", "10"} << true;
}

void WindowTest::start_up_restores()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, boxes);
    QFETCH(bool, taken);

    QVERIFY(writeFile(ini(), file));
    Trainer t(m_dir->path());
    Form1 &f = t.form;
    QCOMPARE(tickedBoxes(f), ticked);
    QCOMPARE((QStringList{f.Text1->text(), f.Text2->text(), f.Text3->text(), f.Text5->text()}), boxes);
    // A file that is taken leaves each slot with its box's character or a
    // blank; an ignored one leaves the slots untouched.
    for (int n = 1; n <= 47; ++n) {
        const QChar expected = ticked.contains(n) ? f.Check[n]->text().at(1) : QLatin1Char(' ');
        QCOMPARE(f.run.charslots()[n], taken ? expected : QChar(0));
    }
}

void WindowTest::kilep_saves_and_the_next_start_gets_it_back()
{
    const QByteArray expected("TEMS   A\r\n 60 5 30 50\r\n");
    {
        Trainer t(m_dir->path());
        for (int n : {1, 2, 3, 4, 8})
            QTest::mouseClick(t.form.Check[n], Qt::LeftButton);
        // Closing the window is no Kilép: nothing is saved.
        t.form.show();
        t.form.close();
        QCOMPARE(readFile(ini()), QByteArray("<missing>"));
        QCOMPARE(t.ends, 0);
        QTest::mouseClick(t.form.Command5, Qt::LeftButton);
        QCOMPARE(t.ends, 1);
    }
    QCOMPARE(readFile(ini()), expected);

    {
        // Kilép saves what the boxes show, typed or not.
        Trainer again(m_dir->path());
        again.form.Command5_Click();
        QCOMPARE(readFile(ini()), expected);
        again.form.Check[28]->setChecked(true);
        again.form.Text5->setText(QStringLiteral("75"));
        again.form.Text1->setText(QStringLiteral("zero"));
        again.form.Text2->setText(QStringLiteral("0 40"));
        again.form.Text3->setText(QStringLiteral("5.5"));
        again.form.Command5_Click();
        QCOMPARE(readFile(ini()), "TEMS   A" + QByteArray(19, ' ') + "\xC9\r\n 75 5 40 5.5\r\n");
    }

    // Slots 48 and 49 have no box but travel through the file, as they are.
    QVERIFY(writeFile(ini(), QByteArray(47, ' ') + "<Z\r\n 60 5 30 50\r\n"));
    Trainer hidden(m_dir->path());
    QCOMPARE(slotsText(hidden.form, 48, 49), QStringLiteral("<Z"));
    hidden.form.Command5_Click();
    QCOMPARE(readFile(ini()), QByteArray(47, ' ') + "<Z\r\n 60 5 30 50\r\n");
    // A link in its place is not written through: the file it points to stays.
    QVERIFY(QFile::remove(ini()) && QFile::link(report(), ini()));
    hidden.form.Command5_Click();
    QCOMPARE(hidden.form.programEnd.status(), 1);
    QCOMPARE(readFile(report()), QByteArray());
}

void WindowTest::a_full_disk_loses_nothing_data()
{
    QTest::addColumn<bool>("kilep"); // otherwise Ellenörzés
    QTest::addColumn<int>("limit"); // bytes a file may hold; either file's new content runs past 16
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("said"); // empty: nothing at all on stderr
    QTest::newRow("Kilép keeps the old settings and fails")
        << true << 16 << 1 << QByteArray("cannot save the settings");
    QTest::newRow("Ellenörzés adds no half block") << false << 16 << 0 << QByteArray("cannot write the report");
    QTest::newRow("Kilép with room saves and says nothing") << true << (1 << 20) << 0 << QByteArray();
}

void WindowTest::a_full_disk_loses_nothing()
{
    QFETCH(bool, kilep);
    QFETCH(int, limit);
    QFETCH(int, status);
    QFETCH(QByteArray, said);
    const QByteArray settings("TEMS\r\n 60 5 30 50\r\n"), earlier("KMR\r\n  \r\n  \r\n");
    QVERIFY(writeFile(ini(), settings));
    Trainer t(m_dir->path());
    QVERIFY(writeFile(report(), earlier));
    t.form.Check[8]->setChecked(true);
    t.form.MSComm1.receive("x");
    t.form.Command6_Click(); // a copy run's first group, for the report
    const auto [exitStatus, stderrText] = withFileSizeLimit(rlim_t(limit), [&] {
        kilep ? t.form.Command5_Click() : t.form.Command4_Click();
        return t.form.programEnd.status();
    });
    QCOMPARE(exitStatus, status);
    QVERIFY2(said.isEmpty() ? stderrText.isEmpty() : stderrText.contains(said), stderrText.constData());
    QCOMPARE(readFile(ini()), kilep && status == 0 ? QByteArray("TEMS   A\r\n 60 5 30 50\r\n") : settings);
    QCOMPARE(readFile(report()), earlier);
}

void WindowTest::a_second_start_on_the_folder_data()
{
    QTest::addColumn<bool>("firstKilled");
    QTest::newRow("refused while the first runs") << false;
    QTest::newRow("taken over from a killed trainer") << true;
}

void WindowTest::a_second_start_on_the_folder()
{
    QFETCH(bool, firstKilled);
    std::unique_ptr<Trainer> first;
    if (firstKilled) {
        // A trainer killed while it ran leaves its lock behind.
        const pid_t killed = fork();
        if (killed == 0)
            _exit(QLockFile(m_dir->filePath(QStringLiteral("vestranoli.lock"))).tryLock() ? 0 : 1);
        waitpid(killed, nullptr, 0);
    } else {
        first = std::make_unique<Trainer>(m_dir->path());
    }
    QVERIFY(writeFile(report(), "the first one's report\r\n"));
    Trainer second(m_dir->path());
    QCOMPARE(second.started, firstKilled);
    QCOMPARE(second.messages.size(), firstKilled ? 0 : 1);
    QCOMPARE(readFile(report()), firstKilled ? QByteArray() : QByteArray("the first one's report\r\n"));
}

void WindowTest::select_all_alternates()
{
    QVERIFY(writeFile(ini(), QByteArray(47, ' ') + "K\r\n 60 5 30 50\r\n"));
    Trainer t(m_dir->path());
    Form1 &f = t.form;

    QTest::mouseClick(f.Command3, Qt::LeftButton);
    QCOMPARE(tickedBoxes(f).size(), 47);
    QCOMPARE(slotsText(f, 1, 47),
             QStringLiteral("TEMSIOHAUVNDBWJGZCQYRFLPKX\u00C1\u00C9\u00D6\u00DC1234567890.?:-=/@"));
    QCOMPARE(f.Command3->text(), QStringLiteral("Mind visszavonás"));

    QTest::mouseClick(f.Command3, Qt::LeftButton);
    QCOMPARE(tickedBoxes(f), QList<int>{1});
    QCOMPARE(slotsText(f, 1, 47), QStringLiteral("T") + QString(46, QLatin1Char(' ')));
    QCOMPARE(f.Command3->text(), QStringLiteral("Mind kijelölés"));
    QCOMPARE(f.run.charslots()[48], QChar(u'K'));
}

void WindowTest::frame_and_focus_order()
{
    // The client area is 749 by 483 pixels; Text6 and Text10 lie below it.
    Trainer t(m_dir->path());
    Form1 &f = t.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.size(), QSize(749, 483));
    QVERIFY(f.windowTitle().endsWith(QLatin1String("V1.1")));
    // On X11 Qt appends a display name to every title; there must be none.
    setUpApplication();
    QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    QCOMPARE(f.windowIcon().availableSizes().value(0), QSize(48, 48));

    // The keyboard starts at the first button, and a click on a button or a
    // box leaves it there.
    QCOMPARE(f.focusWidget(), f.Command1);
    QTest::mouseClick(f.Command13, Qt::LeftButton);
    QTest::mouseClick(f.Check[5], Qt::LeftButton);
    QCOMPARE(f.focusWidget(), f.Command1);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
