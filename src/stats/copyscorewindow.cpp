// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/copyscorewindow.h"

#include "common/morsetable.h"
#include "common/spokennotice.h"
#include "history/statistics.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimeZone>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// The longest copy taken, in characters as typed: a run of 250 groups of 15
// is 3999, typed on lines or with extra blanks a few more. What would be
// longer is a paste of something else, which would take the alignment long.
constexpr int longestCopy = 16000;

// The box for the copy: a paste, a drop or a key that would make it longer
// than longestCopy is refused (and said), and what was there stays.
class CopyEdit : public QPlainTextEdit
{
public:
    std::function<void(qsizetype)> refused; // with the length it would have had

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (fits(source->text().size()))
            QPlainTextEdit::insertFromMimeData(source);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool adds
            = !event->text().isEmpty()
              && (event->text().front().isPrint() || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
        if (!adds || fits(event->text().size()))
            QPlainTextEdit::keyPressEvent(event);
    }

private:
    bool fits(qsizetype inserted)
    {
        const QTextCursor cursor = textCursor();
        const qsizetype length
            = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart()) + inserted;
        if (length <= longestCopy)
            return true;
        refused(length);
        return false;
    }
};

// Groups shown on one line of the marked copy.
constexpr int groupsPerLine = 8;

QString runTime(const QDateTime &when)
{
    return when.toTimeZone(QTimeZone::systemTimeZone()).toString(QStringLiteral("yyyy.MM.dd. HH:mm"));
}

QString percent(const QLocale &locale, double share)
{
    return QStringLiteral("%1 %").arg(locale.toString(qRound(100 * share)));
}

QString tooLongText(qsizetype length)
{
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    return QStringLiteral("A vétel legfeljebb %1 jel lehet, ezzel %2 jel lenne: nem került be, a vétel a régi maradt.")
        .arg(hungarian.toString(longestCopy), hungarian.toString(length));
}

} // namespace

bool copyRunIsWhole(const CopyRunRecord &run)
{
    if (run.groups.isEmpty())
        return false;
    return std::all_of(run.groups.cbegin(), run.groups.cend(), [](const QString &group) {
        return !group.isEmpty()
               && std::all_of(group.cbegin(), group.cend(), [](QChar c) { return !elementsOf(c).isEmpty(); });
    });
}

QString markedCopyHtml(const QList<ScoredGroup> &groups)
{
    const auto escaped = [](char32_t c) {
        return characterText(c).toHtmlEscaped();
    };
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"4\">");
    for (qsizetype first = 0; first < groups.size(); first += groupsPerLine) {
        QString sentRow = QStringLiteral("<tr>");
        QString copiedRow = QStringLiteral("<tr>");
        for (qsizetype g = first; g < qMin(first + groupsPerLine, groups.size()); ++g) {
            QString sent;
            QString copied;
            for (const AlignedCharacter &c : groups[g].characters) {
                if (c.isExtra()) {
                    // A grey dot over it: a blank would part the group in two.
                    sent += QStringLiteral("<span style=\"color:#a0a0a0\">\u00b7</span>");
                    copied += QStringLiteral("<s style=\"color:#b35900\">%1</s>").arg(escaped(c.taken));
                } else if (c.dropped()) {
                    sent += escaped(c.sent);
                    copied += QStringLiteral("<b style=\"color:#c00000\">_</b>");
                } else if (!c.right()) {
                    sent += escaped(c.sent);
                    copied += QStringLiteral("<u style=\"color:#c00000\"><b>%1</b></u>").arg(escaped(c.taken));
                } else {
                    sent += escaped(c.sent);
                    copied += escaped(c.taken);
                }
            }
            sentRow += QStringLiteral("<td>%1</td>").arg(sent);
            copiedRow += QStringLiteral("<td>%1</td>").arg(copied);
        }
        // A blank line between the pairs of rows.
        html += sentRow + QStringLiteral("</tr>") + copiedRow + QStringLiteral("</tr><tr><td></td></tr>");
    }
    return html + QStringLiteral("</table>");
}

namespace {

const QString markedName = QStringLiteral("Az adott és a vett csoportok");

// The marked copy in words, for a screen reader, which reads the marks as
// plain characters: each group with a fault, by its number, and what in it
// was wrong, missing or extra.
QString markedCopyWords(const QList<ScoredGroup> &groups)
{
    QStringList faults;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        QStringList notes;
        for (const AlignedCharacter &c : groups[g].characters) {
            if (c.isExtra())
                notes << QStringLiteral("fölösleges %1").arg(characterText(c.taken));
            else if (c.dropped())
                notes << QStringLiteral("%1 kimaradt").arg(characterText(c.sent));
            else if (!c.right())
                notes << QStringLiteral("%1 helyett %2").arg(characterText(c.sent), characterText(c.taken));
        }
        if (!notes.isEmpty())
            faults << QStringLiteral("%1. csoport, %2: %3")
                          .arg(g + 1)
                          .arg(groups[g].sent, notes.join(QStringLiteral(", ")));
    }
    return faults.isEmpty() ? QStringLiteral("minden jel helyes") : faults.join(QStringLiteral("; "));
}

} // namespace

CopyScoreWindow::CopyScoreWindow(const QString &historyPath, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_historyPath(historyPath)
{
    setWindowTitle(QStringLiteral("Vestranoli – a másolás pontozása"));
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close); // as a secondary window
    setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    resize(900, 680);

    m_runList = new QComboBox;
    auto *copy = new CopyEdit;
    copy->refused = [this](qsizetype length) {
        m_status->setText(tooLongText(length));
    };
    m_copy = copy;
    m_copy->setPlaceholderText(QStringLiteral("Írja be, amit leírt; a csoportokat szóköz vagy új sor választja el."));
    m_copy->setTabChangesFocus(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_copy->setFont(fixed);
    m_scoreButton = new QPushButton(QStringLiteral("Pontozás"));
    m_scoreButton->setAutoDefault(true);
    m_share = new QLabel;
    m_marked = new QTextBrowser;
    m_marked->setFont(fixed);
    m_characters = new QTableWidget(0, 5);
    m_characters->setHorizontalHeaderLabels({QStringLiteral("Jel"), QStringLiteral("Adva"), QStringLiteral("Jó"),
                                             QStringLiteral("Helyes"), QStringLiteral("Mire vette")});
    m_characters->horizontalHeader()->setStretchLastSection(true);
    m_characters->resizeColumnsToContents(); // each heading whole before anything is scored
    m_characters->verticalHeader()->hide();
    m_characters->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_characters->setTabKeyNavigation(false);
    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_notice = new SpokenNotice(this);

    auto *top = new QHBoxLayout;
    m_runLabel = new QLabel(QStringLiteral("&Másolás:"));
    m_runLabel->setBuddy(m_runList);
    top->addWidget(m_runLabel);
    top->addWidget(m_runList, 1);
    auto *copyLabel = new QLabel(QStringLiteral("Az Ön &vétele:"));
    copyLabel->setBuddy(m_copy);
    // The dots of "Ö" rise above the font's ascent, where a label one line high cuts them.
    copyLabel->setContentsMargins(
        0, qMax(0, -fontMetrics().tightBoundingRect(QStringLiteral("Ö")).top() - fontMetrics().ascent()), 0, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_share, 1);
    buttons->addWidget(m_scoreButton);
    auto *legend
        = new QLabel(QStringLiteral("Felül az adott, alatta a vett csoport. <u style=\"color:#c00000\"><b>Piros, "
                                    "aláhúzott</b></u>: hibás jel; <b style=\"color:#c00000\">_</b>: kimaradt "
                                    "jel; <s style=\"color:#b35900\">narancs, áthúzott</s>: fölösleges jel."));
    legend->setWordWrap(true);
    auto *results = new QSplitter(Qt::Horizontal);
    results->addWidget(m_marked);
    results->addWidget(m_characters);
    // Half each: the table's five columns, "Helyes" among them, need as much.
    results->setStretchFactor(0, 1);
    results->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(copyLabel);
    layout->addWidget(m_copy, 1);
    layout->addLayout(buttons);
    layout->addWidget(legend);
    layout->addWidget(results, 3);
    layout->addWidget(m_status);

    // On Linux a combo box is named by its label, and says the run chosen.
    m_runList->view()->setAccessibleName(QStringLiteral("Másolások"));
    m_copy->setAccessibleName(QStringLiteral("Az Ön vétele"));
    m_marked->setAccessibleName(markedName);
    m_characters->setAccessibleName(QStringLiteral("Jelenként"));
    m_characters->setAccessibleDescription(QStringLiteral("Jelenként: adva, jó, helyes arány, mire vette"));

    connect(m_runList, &QComboBox::currentIndexChanged, this, &CopyScoreWindow::showRun);
    // And a run the trainee chooses is said.
    connect(m_runList, &QComboBox::currentIndexChanged, this, [this] { m_notice->say(m_runList->currentText()); });
    connect(m_scoreButton, &QPushButton::clicked, this, &CopyScoreWindow::score);

    // A missing history is not made here: there is nothing to score in it.
    // One that cannot be opened is said so, not shown as one with no runs.
    QString unopened;
    m_history.reportProblemsWith([&unopened](const QString &problem) { unopened = problem; });
    const bool opened = !QFileInfo::exists(m_historyPath) || m_history.open(m_historyPath);
    m_history.reportProblemsWith([this](const QString &problem) {
        m_status->setText(QStringLiteral("Az előzmény nem írható: %1").arg(problem));
    });
    loadRuns();
    if (!opened)
        m_status->setText(QStringLiteral("Az előzmény nem nyitható meg: %1").arg(unopened));
}

void CopyScoreWindow::loadRuns()
{
    m_runs = m_history.copyRuns();
    std::reverse(m_runs.begin(), m_runs.end());
    const QSignalBlocker blocker(m_runList);
    m_runList->clear();
    int latestWhole = -1;
    for (int i = 0; i < m_runs.size(); ++i) {
        const CopyRunRecord &run = m_runs[i];
        QString text = QStringLiteral("%1 – %2 betű/perc, %3 csoport")
                           .arg(runTime(run.when))
                           .arg(run.speed)
                           .arg(run.groups.size());
        if (!copyRunIsWhole(run))
            text += QStringLiteral(" – sérült");
        else if (run.result)
            text += QStringLiteral(" – pontozva: %1")
                        .arg(percent(locale(), scoreOf(run, run.result->copied).shareRight()));
        m_runList->addItem(text);
        if (latestWhole < 0 && copyRunIsWhole(run))
            latestWhole = i;
    }
    m_runList->setCurrentIndex(latestWhole >= 0 ? latestWhole : 0);
    showRun();
    if (m_runs.isEmpty())
        m_status->setText(QStringLiteral("Az előzményben még nincs befejezett másolás: %1")
                              .arg(QDir::toNativeSeparators(m_historyPath)));
    else if (latestWhole > 0)
        m_status->setText(QStringLiteral("A legutóbbi %1 másolás csoportjai hiányoznak vagy sérültek az előzményben; "
                                         "a legutóbbi ép másolás látható.")
                              .arg(latestWhole));
}

const CopyScore &CopyScoreWindow::scoreOf(const CopyRunRecord &run, const QString &copied)
{
    const std::pair<qint64, QString> key(run.id, copied);
    auto known = m_scores.constFind(key);
    if (known == m_scores.cend())
        known = m_scores.insert(key, scoreCopy(run.groups, copied));
    return *known;
}

const CopyRunRecord *CopyScoreWindow::currentRun() const
{
    const int index = m_runList->currentIndex();
    return index >= 0 && index < m_runs.size() ? &m_runs[index] : nullptr;
}

void CopyScoreWindow::showRun()
{
    // Qt 6.4 gives Orca no value for the combo box, which Orca names by its
    // label: the label's name carries the run chosen.
    m_runLabel->setAccessibleName(QStringLiteral("Másolás: %1").arg(m_runList->currentText()));
    m_marked->setAccessibleName(markedName);
    const CopyRunRecord *run = currentRun();
    const bool whole = run && copyRunIsWhole(*run);
    m_scoreButton->setEnabled(whole);
    m_copy->setEnabled(whole);
    m_status->clear();
    m_share->clear();
    m_marked->clear();
    m_characters->setRowCount(0);
    m_copy->clear();
    if (run && !whole) {
        m_status->setText(QStringLiteral("Ennek a másolásnak a csoportjai hiányoznak vagy sérültek az előzményben; "
                                         "nem pontozható."));
    } else if (run && run->result && run->result->copied.size() > longestCopy) {
        // Stored by an earlier version: shown, it would hold the window up.
        m_status->setText(QStringLiteral("Ennek a másolásnak a tárolt vétele %1 jel, túl hosszú a megjelenítéshez; "
                                         "egy új pontozás felülírja.")
                              .arg(locale().toString(run->result->copied.size())));
    } else if (run && run->result) {
        m_copy->setPlainText(run->result->copied);
        showScore(scoreOf(*run, run->result->copied));
        m_status->setText(QStringLiteral("Ezt a másolást %1-kor pontozta; egy új pontozás felülírja.")
                              .arg(runTime(run->result->scored)));
    }
}

void CopyScoreWindow::score()
{
    const CopyRunRecord *run = currentRun();
    if (!run || !copyRunIsWhole(*run))
        return;
    const QString typed = m_copy->toPlainText();
    if (typed.size() > longestCopy) {
        m_status->setText(tooLongText(typed.size()));
        return;
    }
    const QString copied = normalisedCopy(typed);
    if (copied.isEmpty()) {
        m_status->setText(QStringLiteral("A vétel üres: írja be, amit a másolás alatt leírt."));
        m_copy->setFocus();
        return;
    }
    CopyScore scoreOfCopy = scoreOf(*run, copied);
    if (scoreOfCopy.tooLong) {
        m_status->setText(QStringLiteral("Ez a másolás túl hosszú ahhoz, hogy a vétellel összevethető legyen."));
        return;
    }
    scoreOfCopy.result.scored = QDateTime::currentDateTimeUtc();
    // Stored first: whatever showing it costs, the copy is not lost.
    const History::Scoring stored = m_history.storeCopyResult(run->id, scoreOfCopy.result);
    showScore(scoreOfCopy);
    switch (stored) {
    case History::Scoring::Stored:
        m_status->setText(QStringLiteral("A pontozás bekerült az előzménybe."));
        break;
    case History::Scoring::Replaced:
        m_status->setText(QStringLiteral("A pontozás bekerült az előzménybe, a korábbi pontozás helyére."));
        break;
    case History::Scoring::Failed:
        // The reporter has said why.
        return;
    }
    const int index = m_runList->currentIndex();
    const QString status = m_status->text();
    loadRuns();
    m_runList->setCurrentIndex(index);
    m_status->setText(status);
    m_notice->say(m_share->text() + QStringLiteral(". ") + status);
    emit scored();
}

void CopyScoreWindow::showScore(const CopyScore &score)
{
    m_share->setText(QStringLiteral("Helyes jelek: %1 (%2 / %3); fölösleges jelek: %4")
                         .arg(percent(locale(), score.shareRight()))
                         .arg(score.rightCharacters)
                         .arg(score.sentCharacters)
                         .arg(score.result.extra));
    m_marked->setHtml(markedCopyHtml(score.groups));
    m_marked->setAccessibleName(markedName + QStringLiteral(": ") + markedCopyWords(score.groups));

    QMap<char32_t, CharacterScore> byCharacter;
    for (const CopyCharacterCount &c : score.result.characters)
        byCharacter[c.sent].add(c.taken, c.sent, c.count);
    QList<char32_t> characters = byCharacter.keys();
    std::stable_sort(characters.begin(), characters.end(), [&byCharacter](char32_t a, char32_t b) {
        return qint64(byCharacter[a].right) * byCharacter[b].sent < qint64(byCharacter[b].right) * byCharacter[a].sent;
    });
    m_characters->setRowCount(int(characters.size()));
    for (int row = 0; row < characters.size(); ++row) {
        const CharacterScore &c = byCharacter[characters[row]];
        const QStringList cells{characterText(characters[row]), QString::number(c.sent), QString::number(c.right),
                                percent(locale(), c.shareRight()), takenForText(c)};
        for (int column = 0; column < cells.size(); ++column)
            m_characters->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_characters->resizeColumnsToContents();
}
