// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "common/reportproblem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QSqlQuery;

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

// One echo group as the trainer scored it.
struct EchoGroupRecord {
    QDateTime when;
    QString sent;
    QString decoded;
    bool good = false;
    int speed = 0; // letters per minute
    int groupsize = 0; // letters per group
    int pause = 0; // hundredths of a second
    // The band the group was played through; none when not known (a
    // hardware keyer, or a group recorded before bands were kept).
    std::optional<BandConditions> conditions = {};
};

// How often one character of a copy run was copied as `taken`: right when
// it is the character itself, missed when it is 0.
struct CopyCharacterCount {
    char32_t sent = 0;
    char32_t taken = 0;
    int count = 0;
};

// What the trainee copied of a run, as scored.
struct CopyResult {
    QDateTime scored;
    QString copied; // upper case, groups parted by single blanks
    QList<CopyCharacterCount> characters;
    int extra = 0; // copied characters that stood for no sent one
};

// One copy run that came to its end, with the groups it sent.
struct CopyRunRecord {
    QDateTime when;
    int speed = 0;
    int groupsize = 0;
    int pause = 0;
    QStringList groups;
    qint64 id = 0; // the history's number for it, once stored
    std::optional<CopyResult> result = {}; // once scored (without its counts, from copyRuns())
    std::optional<BandConditions> conditions = {}; // its groups' band (see Run::takeEndedCopyRun); none: not known
};

// What of one session never reached the history: the trainer ended while the
// file took no writes, more waited than it keeps in memory, or the file
// refused a record for what it held. Noted beside the history
// (lostRecordsPath()), since the history itself could not take it.
struct LostRecords {
    QDateTime session; // when the trainer opened the history
    int echoGroups = 0;
    int copyRuns = 0;
};

// The training history: an SQLite file in the data folder that keeps every
// scored echo group and every finished copy run across starts.
//
// Its layout carries a version number (SQLite's user_version); open()
// brings an older file up to date and refuses a newer one or one that is
// not a history at all, leaving the file as it is. The file is kept in WAL
// mode with synchronous=NORMAL: a record costs no fsync, and what a killed
// trainer had committed is there at the next start.
//
// A refused file stays closed; recording into it does nothing, so training
// goes on without it. Any other failure (another program's write lock, a
// full disk, a file that cannot be opened now) passes: what cannot be
// written is kept in memory and written, before the next record, once the
// file takes writes again. What is still unwritten when the history is
// closed is lost, said and noted beside the file. Each failure is said once
// (on stderr, unless another reporter is given), not once per record.
class History
{
    Q_DECLARE_TR_FUNCTIONS(History)

public:
    static constexpr int schemaVersion = 3;

    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    void reportProblemsWith(std::function<void(const QString &)> report) { m_report = std::move(report); }

    // For the trainer: creates the file or brings it up to date. False when
    // it cannot be written now; the history then still keeps what is
    // recorded, unless the file was refused.
    bool open(const QString &path);
    // For the statistics: never creates or changes the file.
    enum class Reading { Open, NoHistoryYet, Failed };
    Reading openForReading(const QString &path);
    void close();
    // Open for reading, or keeping the trainer's records.
    bool isOpen() const { return m_keeping || m_db; }

    void recordEchoGroup(const EchoGroupRecord &group);
    void recordCopyRun(const CopyRunRecord &run);

    // Oldest first; an invalid `since` gives all of them.
    QList<EchoGroupRecord> echoGroups(const QDateTime &since = {}) const;
    QList<CopyRunRecord> copyRuns() const;
    // The same one by one, none of them kept: the statistics of any history
    // in the memory of one group. The copy runs are those scored, each with
    // its result and its counts.
    void forEachEchoGroup(const QDateTime &since, const std::function<void(const EchoGroupRecord &)> &take) const;
    void forEachScoredCopyRun(const QDateTime &since, const std::function<void(const CopyRunRecord &)> &take) const;

    // Stores the result of copy run `id`, in place of an earlier one. Written
    // at once, not kept for later: the trainee is there to try again.
    enum class Scoring { Stored, Replaced, Failed };
    Scoring storeCopyResult(qint64 id, const CopyResult &result);

private:
    using Record = std::variant<EchoGroupRecord, CopyRunRecord>;

    std::optional<int> connect(bool forReading, bool immutable = false);
    void disconnect();
    void refuse(const QString &what, const QString &why);
    void trouble(const QString &what, const QString &why);
    void keep(Record record);
    void writeWaiting();
    bool bringUpToDate(QSqlQuery &query, int version, QString *damage);
    void endSession();

    struct Connection;
    std::unique_ptr<Connection> m_db; // while the file is open
    int m_version = 0; // the open file's layout
    QString m_path;
    bool m_keeping = false; // the trainer's history, not refused
    bool m_troubleSaid = false; // the failure that keeps records waiting
    int m_busyWait = 0; // ms another program's lock is waited for
    std::deque<Record> m_waiting;
    LostRecords m_lost; // already: beyond what memory keeps, or refused by the file
    std::function<void(const QString &)> m_report = reportProblem;
};

// "<history's name>-lost.txt" beside the history.
QString lostRecordsPath(const QString &historyPath);
// Oldest first; nothing when there is no such note.
QList<LostRecords> lostRecords(const QString &historyPath);
