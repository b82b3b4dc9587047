#pragma once

#include "common/reportproblem.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQuery;

#include <functional>
#include <memory>

// One echo group as the trainer scored it.
struct EchoGroupRecord {
    QDateTime when;
    QString sent;
    QString decoded;
    bool good = false;
    int speed = 0;     // letters per minute
    int groupsize = 0; // letters per group
    int pause = 0;     // hundredths of a second
};

// One copy run that came to its end, with the groups it sent.
struct CopyRunRecord {
    QDateTime when;
    int speed = 0;
    int groupsize = 0;
    int pause = 0;
    QStringList groups;
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
// A history that cannot be opened or written is said once (on stderr, unless
// another reporter is given) and then stays closed; recording into a closed history
// does nothing, so training goes on without it.
class History
{
public:
    static constexpr int schemaVersion = 1;

    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    void reportProblemsWith(std::function<void(const QString &)> report) { m_report = std::move(report); }

    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_open; }

    void recordEchoGroup(const EchoGroupRecord &group);
    void recordCopyRun(const CopyRunRecord &run);

    // Oldest first; an invalid `since` gives all of them.
    QList<EchoGroupRecord> echoGroups(const QDateTime &since = {}) const;
    QList<CopyRunRecord> copyRuns() const;

private:
    void fail(const QString &what, const QString &why);
    // Binds the values in order and runs the query; a failure closes the history.
    void insert(QSqlQuery &query, const QVariantList &values);
    bool bringUpToDate(int version);

    struct Connection;
    std::unique_ptr<Connection> m_db;
    QString m_path;
    bool m_open = false;
    std::function<void(const QString &)> m_report = reportProblem;
};
