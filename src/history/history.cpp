// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history.h"

#include "common/alignment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <limits>

namespace {

// Step k brings a file of version k to version k + 1. A later version adds a
// step; it never changes one that has shipped.
const QList<QStringList> schemaSteps = {
    {
        QStringLiteral("CREATE TABLE echo_group (at INTEGER NOT NULL, sent TEXT NOT NULL, decoded TEXT NOT NULL, "
                       "good INTEGER NOT NULL, speed INTEGER NOT NULL, groupsize INTEGER NOT NULL, "
                       "pause INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX echo_group_at ON echo_group (at)"),
        // The groups of a run, one per line.
        QStringLiteral("CREATE TABLE copy_run (at INTEGER NOT NULL, speed INTEGER NOT NULL, "
                       "groupsize INTEGER NOT NULL, pause INTEGER NOT NULL, groups TEXT NOT NULL)"),
    },
    {
        // Copy runs get a number that stays (a rowid may change in a VACUUM),
        // the one each already had, and their results: what the trainee
        // copied and, per character sent, how often it was taken for what.
        QStringLiteral("CREATE TABLE copy_run_numbered (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, "
                       "speed INTEGER NOT NULL, groupsize INTEGER NOT NULL, pause INTEGER NOT NULL, "
                       "groups TEXT NOT NULL)"),
        QStringLiteral("INSERT INTO copy_run_numbered SELECT rowid, at, speed, groupsize, pause, groups FROM copy_run"),
        QStringLiteral("DROP TABLE copy_run"),
        QStringLiteral("ALTER TABLE copy_run_numbered RENAME TO copy_run"),
        QStringLiteral("CREATE INDEX copy_run_at ON copy_run (at)"),
        QStringLiteral("CREATE TABLE copy_result (run INTEGER PRIMARY KEY REFERENCES copy_run (id), "
                       "scored INTEGER NOT NULL, copied TEXT NOT NULL, extra INTEGER NOT NULL)"),
        // `taken` is "" for a character missed, the character itself when right.
        QStringLiteral("CREATE TABLE copy_character (run INTEGER NOT NULL REFERENCES copy_run (id), "
                       "sent TEXT NOT NULL, taken TEXT NOT NULL, count INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX copy_character_run ON copy_character (run)"),
    },
    {
        // The band a group or a copy run was played through, as
        // BandConditions::toText() writes it; NULL when not known: a
        // hardware keyer, or a record from before.
        QStringLiteral("ALTER TABLE echo_group ADD COLUMN conditions TEXT"),
        QStringLiteral("ALTER TABLE copy_run ADD COLUMN conditions TEXT"),
    },
};
static_assert(History::schemaVersion == 3, "add a schema step for the new version");

int connectionNumber = 0;

// How long another program's write lock is waited for before a record is
// kept for later. The window records a group after sending the next one, so
// the keyer never waits for the file, but its reports do: 50 ms is well
// under one dot at 70 letters per minute.
constexpr int busyWaitMs = 50;
// When the history closes nothing follows, so its last try waits longer.
constexpr int lastBusyWaitMs = 1000;
// Kept in memory while the file takes no writes: hours of echo groups.
constexpr std::size_t mostWaiting = 10000;

constexpr int sqliteReadOnly = 8;
constexpr int sqliteCorrupt = 11;
constexpr int sqliteCantOpen = 14;
constexpr int sqliteTooBig = 18;
constexpr int sqliteConstraint = 19;
constexpr int sqliteNotADatabase = 26;

// SQLite's primary result code; an extended one carries it in its low byte.
int sqliteCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// SQLite's words for what a trainee meets, translated like the rest of the
// line; any other stays in SQLite's English. Qt's part of the text ("Unable
// to fetch row") is translated by Qt.
[[maybe_unused]] const char *const sqliteWords[] = {
    QT_TRANSLATE_NOOP("History", "database is locked"),
    QT_TRANSLATE_NOOP("History", "attempt to write a readonly database"),
    QT_TRANSLATE_NOOP("History", "disk I/O error"),
    QT_TRANSLATE_NOOP("History", "database disk image is malformed"),
    QT_TRANSLATE_NOOP("History", "database or disk is full"),
    QT_TRANSLATE_NOOP("History", "unable to open database file"),
    QT_TRANSLATE_NOOP("History", "file is not a database"),
};

QString cause(const QSqlError &error)
{
    if (error.databaseText().isEmpty())
        return error.text();
    return QCoreApplication::translate("History", error.databaseText().toUtf8().constData());
}

// A null QString binds as SQL NULL. A group scored before anything was sent
// was sent as "", and is recorded so.
// Whole code points only: SQLite would store half of one as bytes that are
// not UTF-8.
QVariant text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : QString::fromUtf8(value.toUtf8());
}

// A band not known is NULL.
QVariant conditionsValue(const std::optional<BandConditions> &conditions)
{
    return conditions ? QVariant(conditions->toText()) : QVariant(QMetaType::fromType<QString>());
}

// The bands of the rows read one after another. A text this trainer cannot
// read (a newer keyer's band) is not known either. One band mostly holds for
// many groups in a row: its text is read once for all of them.
class BandReader
{
public:
    const std::optional<BandConditions> &bandOf(const QVariant &value)
    {
        const QString text = value.toString();
        if (value.isNull() != m_null || text != m_text) {
            m_null = value.isNull();
            m_text = text;
            m_band = m_null ? std::nullopt : BandConditions::fromText(text);
        }
        return m_band;
    }

private:
    bool m_null = true;
    QString m_text;
    std::optional<BandConditions> m_band;
};

// The values of a row, in the order of the table's columns.
QVariantList boundValues(const EchoGroupRecord &group)
{
    return {group.when.toMSecsSinceEpoch(),
            text(group.sent),
            text(group.decoded),
            group.good ? 1 : 0,
            group.speed,
            group.groupsize,
            group.pause,
            conditionsValue(group.conditions)};
}

QVariantList boundValues(const CopyRunRecord &run)
{
    const QVariant groups = text(run.groups.join(QLatin1Char('\n')));
    return {run.when.toMSecsSinceEpoch(), run.speed, run.groupsize, run.pause, groups, conditionsValue(run.conditions)};
}

// Layout 2 and before have no column for the band: it reads as not known.
QString conditionsColumn(int version, const char *table)
{
    return version >= 3 ? QStringLiteral("%1.conditions").arg(QLatin1String(table)) : QStringLiteral("NULL");
}

// Counts one record into `count`: an echo group or a copy run.
template<typename Record>
void countIn(LostRecords &count, const Record &record)
{
    ++(std::holds_alternative<EchoGroupRecord>(record) ? count.echoGroups : count.copyRuns);
}

template<typename Records>
LostRecords counted(const Records &records)
{
    LostRecords count;
    for (const auto &record : records)
        countIn(count, record);
    return count;
}

QString recordsText(const LostRecords &records)
{
    QStringList parts;
    if (records.echoGroups > 0)
        parts << (records.echoGroups == 1 ? QCoreApplication::translate("History", "%1 echo group")
                                          : QCoreApplication::translate("History", "%1 echo groups"))
                     .arg(records.echoGroups);
    if (records.copyRuns > 0)
        parts << (records.copyRuns == 1 ? QCoreApplication::translate("History", "%1 copy run")
                                        : QCoreApplication::translate("History", "%1 copy runs"))
                     .arg(records.copyRuns);
    return parts.join(QCoreApplication::translate("History", " and "));
}

// The note of lost records: a line naming its layout, then one line per
// session, "2026-12-01T18:05:00.000Z 31 0" (the session's start in UTC, the
// echo groups and the copy runs lost).
const QByteArray lostRecordsLayout = "Vestranoli lost records 1";

bool noteLost(const QString &historyPath, const LostRecords &lost, QString *why)
{
    QFile file(lostRecordsPath(historyPath));
    // Unbuffered, so that a full disk shows at the write.
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered)) {
        *why = file.errorString();
        return false;
    }
    QByteArray line = file.size() == 0 ? lostRecordsLayout + "\r\n" : QByteArray();
    line += lost.session.toString(Qt::ISODateWithMs).toLatin1() + ' ' + QByteArray::number(lost.echoGroups) + ' '
            + QByteArray::number(lost.copyRuns) + "\r\n";
    if (file.write(line) != line.size()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace

struct History::Connection {
    QSqlDatabase db;
    QSqlQuery insertEchoGroup;
    QSqlQuery insertCopyRun;
};

History::History() = default;

History::~History()
{
    close();
}

bool History::open(const QString &path)
{
    close();
    m_path = path;
    m_keeping = true;
    m_busyWait = busyWaitMs;
    m_lost = {QDateTime::currentDateTimeUtc(), 0, 0};
    return connect(false).has_value();
}

History::Reading History::openForReading(const QString &path)
{
    close();
    m_path = path;
    m_busyWait = busyWaitMs;
    if (!QFileInfo::exists(path))
        return Reading::NoHistoryYet;
    const std::optional<int> version = connect(true);
    if (!version)
        return Reading::Failed;
    // An empty file: a trainer that never got to write it, or a file made by hand.
    if (*version == 0) {
        disconnect();
        return Reading::NoHistoryYet;
    }
    return Reading::Open;
}

// The version is read before anything is written, so that a file this
// program cannot use is left exactly as it was; for the trainer the file is
// then brought up to date. The file's version, or nothing after a failure.
std::optional<int> History::connect(bool forReading, bool immutable)
{
    const QString name = QStringLiteral("vestranoli-history-%1").arg(++connectionNumber);
    m_db = std::make_unique<Connection>();
    m_db->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!m_db->db.isValid()) {
        refuse(tr("cannot keep the training history"), tr("Qt's SQLite driver is missing"));
        return {};
    }
    // Immutable: SQLite reads the file as it is, with no -shm file to make.
    m_db->db.setDatabaseName(
        immutable ? QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1") : m_path);
    m_db->db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2%3")
                                   .arg(m_busyWait)
                                   .arg(forReading ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString(),
                                        immutable ? QStringLiteral(";QSQLITE_OPEN_URI") : QString()));
    if (!m_db->db.open()) {
        trouble(tr("cannot open the training history"), cause(m_db->db.lastError()));
        return {};
    }

    QSqlQuery query(m_db->db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        const int code = sqliteCode(query.lastError());
        // A WAL file wants its -shm file beside it, which a folder this user
        // cannot write does not take. With no -wal file there, all of the
        // history is in the file, and no trainer writes it meanwhile.
        const bool walFile = QFileInfo::exists(m_path + QStringLiteral("-wal"));
        const bool noShmFile = forReading && (code == sqliteReadOnly || code == sqliteCantOpen);
        if (noShmFile && !immutable && !walFile) {
            disconnect();
            return connect(true, true);
        }
        if (noShmFile && walFile)
            trouble(tr("cannot read the training history"),
                    cause(query.lastError())
                        + tr("; what a trainer wrote last is in its -wal file, which "
                             "is read only through a -shm file beside it that this "
                             "user can write"));
        else if (code == sqliteCorrupt || code == sqliteNotADatabase)
            refuse(tr("the training history is not a database this program can read"), cause(query.lastError()));
        else
            trouble(tr("cannot read the training history"), cause(query.lastError()));
        return {};
    }
    const int version = query.value(0).toInt();
    if (version > schemaVersion) {
        refuse(tr("the training history was written by a newer Vestranoli"),
               tr("layout %1, this one knows up to %2; it is left alone").arg(version).arg(schemaVersion));
        return {};
    }
    if (version == 0) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()) {
            trouble(tr("cannot read the training history"), cause(query.lastError()));
            return {};
        }
        if (query.value(0).toInt() != 0) {
            refuse(tr("the training history is some other database"), tr("it is left alone"));
            return {};
        }
    }
    m_version = version;
    if (forReading)
        return version;

    // Brought up to date before anything else is changed, its journal mode
    // too: a file that cannot be is left as it was.
    QString damage;
    if (!bringUpToDate(query, version, &damage)) {
        const int code = sqliteCode(query.lastError());
        if (damage.isEmpty() && code != sqliteCorrupt && code != sqliteNotADatabase)
            trouble(tr("cannot prepare the training history"), cause(query.lastError()));
        else
            refuse(tr("the training history is damaged, and left as it is:"),
                   damage.isEmpty() ? cause(query.lastError()) : damage);
        return {};
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))
        || !query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        trouble(tr("cannot prepare the training history"), cause(query.lastError()));
        return {};
    }
    m_version = schemaVersion;
    m_db->insertEchoGroup = QSqlQuery(m_db->db);
    m_db->insertCopyRun = QSqlQuery(m_db->db);
    if (!m_db->insertEchoGroup.prepare(QStringLiteral("INSERT INTO echo_group VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))
        || !m_db->insertCopyRun.prepare(QStringLiteral(
            "INSERT INTO copy_run (at, speed, groupsize, pause, groups, conditions) VALUES (?, ?, ?, ?, ?, ?)"))) {
        trouble(tr("cannot prepare the training history"), cause(m_db->insertEchoGroup.lastError()));
        return {};
    }
    return version;
}

// On failure `query` holds the cause, or `damage` what SQLite's check of
// the file found: a damaged file is not built on.
bool History::bringUpToDate(QSqlQuery &query, int version, QString *damage)
{
    if (version == schemaVersion)
        return true;
    bool done = query.exec(QStringLiteral("BEGIN IMMEDIATE")) && query.exec(QStringLiteral("PRAGMA quick_check"))
                && query.next();
    if (done && query.value(0).toString() != QLatin1String("ok")) {
        *damage = query.value(0).toString().simplified();
        done = false;
    }
    for (int step = version; done && step < schemaVersion; ++step) {
        for (const QString &statement : schemaSteps[step])
            done = done && query.exec(statement);
    }
    // PRAGMA takes no bound values; the number is ours.
    done = done && query.exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion))
           && query.exec(QStringLiteral("COMMIT"));
    if (!done)
        QSqlQuery(m_db->db).exec(QStringLiteral("ROLLBACK"));
    return done;
}

void History::close()
{
    endSession();
    disconnect();
    m_keeping = false;
    m_troubleSaid = false;
}

void History::disconnect()
{
    if (!m_db)
        return;
    const QString name = m_db->db.connectionName();
    m_db.reset();
    m_version = 0;
    QSqlDatabase::removeDatabase(name);
}

// The file is left alone from now on.
void History::refuse(const QString &what, const QString &why)
{
    disconnect();
    m_report(tr("%1 %2 (%3)%4")
                 .arg(what, QDir::toNativeSeparators(m_path), why,
                      m_keeping ? tr("; training goes on without it") : QString()));
    m_keeping = false;
}

// A failure that may pass: the trainer's records wait for the file, and
// the failure is said once until they are written.
void History::trouble(const QString &what, const QString &why)
{
    disconnect();
    if (m_troubleSaid)
        return;
    m_troubleSaid = m_keeping;
    m_report(tr("%1 %2 (%3)%4")
                 .arg(what, QDir::toNativeSeparators(m_path), why,
                      m_keeping ? tr("; what is recorded is kept until it can be written") : QString()));
}

void History::keep(Record record)
{
    if (!m_keeping)
        return;
    if (m_waiting.size() < mostWaiting)
        m_waiting.push_back(std::move(record));
    else
        countIn(m_lost, record);
    writeWaiting();
}

// Oldest first and in one transaction: all of them, or none to be tried
// again with the next record.
void History::writeWaiting()
{
    if (!m_db && !connect(false))
        return;
    QSqlQuery query(m_db->db);
    bool written = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    QString why = cause(query.lastError());
    for (auto record = m_waiting.begin(); written && record != m_waiting.end();) {
        QSqlQuery &insert
            = std::holds_alternative<EchoGroupRecord>(*record) ? m_db->insertEchoGroup : m_db->insertCopyRun;
        for (const QVariant &value : std::visit([](const auto &r) { return boundValues(r); }, *record))
            insert.addBindValue(value);
        written = insert.exec();
        why = cause(insert.lastError());
        // Refused for what it holds, not for the moment (no record should
        // be): tried again, it would hold up every later one, so it alone is
        // lost. SQLite undoes just that statement.
        const int code = sqliteCode(insert.lastError());
        if (!written && (code == sqliteConstraint || code == sqliteTooBig)) {
            countIn(m_lost, *record);
            record = m_waiting.erase(record);
            written = true;
        } else {
            ++record;
        }
    }
    if (written && !query.exec(QStringLiteral("COMMIT"))) {
        written = false;
        why = cause(query.lastError());
    }
    if (!written) {
        QSqlQuery(m_db->db).exec(QStringLiteral("ROLLBACK"));
        trouble(tr("cannot write the training history"), why);
        return;
    }
    if (m_troubleSaid) {
        m_report(tr("the training history %1 takes writes again; %2 written now")
                     .arg(QDir::toNativeSeparators(m_path), recordsText(counted(m_waiting))));
        m_troubleSaid = false;
    }
    m_waiting.clear();
}

// What still waits gets a last try, with a longer wait for a lock; what is
// left after it is lost, said and noted beside the history.
void History::endSession()
{
    if (m_keeping && !m_waiting.empty()) {
        disconnect();
        m_busyWait = lastBusyWaitMs;
        writeWaiting();
    }
    const LostRecords waiting = counted(m_waiting);
    m_waiting.clear();
    m_lost.echoGroups += waiting.echoGroups;
    m_lost.copyRuns += waiting.copyRuns;
    if (m_lost.echoGroups + m_lost.copyRuns > 0) {
        QString why;
        m_report(tr("the training history %1 could not be written before the end; lost from this "
                    "session: %2%3")
                     .arg(QDir::toNativeSeparators(m_path), recordsText(m_lost),
                          noteLost(m_path, m_lost, &why)
                              ? QString()
                              : tr(" (not noted in %1 either: %2)")
                                    .arg(QDir::toNativeSeparators(lostRecordsPath(m_path)), why)));
    }
    m_lost = {};
}

// A group with no character in it (nothing ticked) is no training: it is
// not recorded, and one recorded by an older trainer is not read back.
void History::recordEchoGroup(const EchoGroupRecord &group)
{
    if (!group.sent.trimmed().isEmpty())
        keep(group);
}

void History::recordCopyRun(const CopyRunRecord &run)
{
    if (!run.groups.join(QString()).trimmed().isEmpty())
        keep(run);
}

QList<EchoGroupRecord> History::echoGroups(const QDateTime &since) const
{
    QList<EchoGroupRecord> groups;
    forEachEchoGroup(since, [&groups](const EchoGroupRecord &group) { groups.append(group); });
    return groups;
}

void History::forEachEchoGroup(const QDateTime &since, const std::function<void(const EchoGroupRecord &)> &take) const
{
    if (!m_db)
        return;
    QSqlQuery query(m_db->db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT at, sent, decoded, good, speed, groupsize, pause, %1 FROM echo_group "
                                 "WHERE at >= ? AND trim(sent) <> '' ORDER BY at, rowid")
                      .arg(conditionsColumn(m_version, "echo_group")));
    query.addBindValue(since.isValid() ? since.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min());
    query.exec();
    BandReader bands;
    while (query.next()) {
        take({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC), query.value(1).toString(),
              query.value(2).toString(), query.value(3).toBool(), query.value(4).toInt(), query.value(5).toInt(),
              query.value(6).toInt(), bands.bandOf(query.value(7))});
    }
}

// A copy run not made of empty groups alone (stored one a line); a run
// with no group at all is damaged, and is read to be shown as such.
#define SENT_SOMETHING "(groups = '' OR trim(groups, ' ' || char(10)) <> '')"

namespace {

// A run's columns, from "SELECT id, at, speed, groupsize, pause, groups".
CopyRunRecord copyRunFrom(const QSqlQuery &query)
{
    CopyRunRecord run{QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong(), Qt::UTC),
                      query.value(2).toInt(),
                      query.value(3).toInt(),
                      query.value(4).toInt(),
                      query.value(5).toString().split(QLatin1Char('\n')),
                      query.value(0).toLongLong(),
                      {}};
    // A run with no group at all was stored as "".
    if (run.groups == QStringList{QString()})
        run.groups.clear();
    return run;
}

} // namespace

QList<CopyRunRecord> History::copyRuns() const
{
    QList<CopyRunRecord> runs;
    if (!m_db)
        return runs;
    // A file of layout 1 (read before a trainer brought it up to date) has no results.
    const bool results = m_version >= 2;
    QSqlQuery query(m_db->db);
    query.setForwardOnly(true);
    query.exec(results ? QStringLiteral("SELECT r.rowid, r.at, r.speed, r.groupsize, r.pause, r.groups, s.scored, "
                                        "s.copied, s.extra, %1 FROM copy_run r LEFT JOIN copy_result s "
                                        "ON s.run = r.rowid WHERE " SENT_SOMETHING " ORDER BY r.at, r.rowid")
                             .arg(conditionsColumn(m_version, "r"))
                       : QStringLiteral("SELECT rowid, at, speed, groupsize, pause, groups FROM copy_run "
                                        "WHERE " SENT_SOMETHING " ORDER BY at, rowid"));
    BandReader bands;
    while (query.next()) {
        CopyRunRecord run = copyRunFrom(query);
        if (results)
            run.conditions = bands.bandOf(query.value(9));
        if (results && !query.isNull(6))
            run.result = CopyResult{QDateTime::fromMSecsSinceEpoch(query.value(6).toLongLong(), Qt::UTC),
                                    query.value(7).toString(),
                                    {},
                                    query.value(8).toInt()};
        runs.append(run);
    }
    return runs;
}

void History::forEachScoredCopyRun(const QDateTime &since, const std::function<void(const CopyRunRecord &)> &take) const
{
    if (!m_db || m_version < 2)
        return;
    QSqlQuery query(m_db->db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT r.id, r.at, r.speed, r.groupsize, r.pause, r.groups, s.scored, s.copied, "
                                 "s.extra, %1 FROM copy_run r JOIN copy_result s ON s.run = r.id WHERE r.at >= ? "
                                 "AND " SENT_SOMETHING " ORDER BY r.at, r.id")
                      .arg(conditionsColumn(m_version, "r")));
    query.addBindValue(since.isValid() ? since.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min());
    query.exec();
    QSqlQuery counts(m_db->db);
    counts.setForwardOnly(true);
    counts.prepare(QStringLiteral("SELECT sent, taken, count FROM copy_character WHERE run = ?"));
    BandReader bands;
    while (query.next()) {
        CopyRunRecord run = copyRunFrom(query);
        run.conditions = bands.bandOf(query.value(9));
        CopyResult result{QDateTime::fromMSecsSinceEpoch(query.value(6).toLongLong(), Qt::UTC),
                          query.value(7).toString(),
                          {},
                          query.value(8).toInt()};
        counts.addBindValue(run.id);
        counts.exec();
        while (counts.next()) {
            const QList<uint> sent = counts.value(0).toString().toUcs4();
            const QList<uint> taken = counts.value(1).toString().toUcs4();
            if (sent.size() == 1 && taken.size() <= 1)
                result.characters.append({sent[0], taken.value(0), counts.value(2).toInt()});
        }
        run.result = std::move(result);
        take(run);
    }
}

History::Scoring History::storeCopyResult(qint64 id, const CopyResult &result)
{
    if (!m_db && !connect(false))
        return Scoring::Failed;
    QSqlQuery query(m_db->db);
    bool done = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    QString why = cause(query.lastError());
    const auto run = [&](const QString &statement, const QVariantList &values) {
        if (!done)
            return;
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        done = query.exec();
        why = cause(query.lastError());
    };
    run(QStringLiteral("SELECT count(*) FROM copy_run WHERE id = ?"), {id});
    if (done && (!query.next() || query.value(0).toInt() != 1)) {
        done = false;
        why = tr("there is no copy run %1").arg(id);
    }
    run(QStringLiteral("DELETE FROM copy_character WHERE run = ?"), {id});
    run(QStringLiteral("DELETE FROM copy_result WHERE run = ?"), {id});
    const bool replaced = done && query.numRowsAffected() > 0;
    run(QStringLiteral("INSERT INTO copy_result VALUES (?, ?, ?, ?)"),
        {id, result.scored.toMSecsSinceEpoch(), text(result.copied), result.extra});
    for (const CopyCharacterCount &c : result.characters) {
        run(QStringLiteral("INSERT INTO copy_character VALUES (?, ?, ?, ?)"),
            {id, characterText(c.sent), text(characterText(c.taken)), c.count});
    }
    if (done) {
        done = query.exec(QStringLiteral("COMMIT"));
        why = cause(query.lastError());
    }
    if (!done) {
        QSqlQuery(m_db->db).exec(QStringLiteral("ROLLBACK"));
        m_report(tr("cannot store the copy's result in the training history %1 (%2)")
                     .arg(QDir::toNativeSeparators(m_path), why));
        return Scoring::Failed;
    }
    return replaced ? Scoring::Replaced : Scoring::Stored;
}

QString lostRecordsPath(const QString &historyPath)
{
    const QFileInfo history(historyPath);
    return history.dir().filePath(history.completeBaseName() + QStringLiteral("-lost.txt"));
}

QList<LostRecords> lostRecords(const QString &historyPath)
{
    QList<LostRecords> notes;
    QFile file(lostRecordsPath(historyPath));
    if (!file.open(QIODevice::ReadOnly) || file.readLine().trimmed() != lostRecordsLayout)
        return notes;
    // A line that cannot be read (one cut off by a full disk) is passed over.
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() != 3)
            continue;
        const LostRecords note{QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs),
                               fields[1].toInt(), fields[2].toInt()};
        if (note.session.isValid())
            notes.append(note);
    }
    return notes;
}
