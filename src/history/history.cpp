#include "history/history.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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
};
static_assert(History::schemaVersion == 1, "add a schema step for the new version");

int connectionNumber = 0;

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
    const QString name = QStringLiteral("vestranoli-history-%1").arg(++connectionNumber);
    m_db = std::make_unique<Connection>();
    m_db->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!m_db->db.isValid()) {
        fail(QStringLiteral("cannot keep the training history"), QStringLiteral("Qt's SQLite driver is missing"));
        return false;
    }
    m_db->db.setDatabaseName(path);
    // Another program holding the file must not stall a run: give up at once.
    m_db->db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    if (!m_db->db.open()) {
        fail(QStringLiteral("cannot open the training history"), m_db->db.lastError().text());
        return false;
    }

    // The version is read before anything is written, so that a file this
    // program cannot use is left exactly as it was.
    QSqlQuery query(m_db->db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        fail(QStringLiteral("the training history is not a database this program can read"),
             query.lastError().text());
        return false;
    }
    const int version = query.value(0).toInt();
    if (version > schemaVersion) {
        fail(QStringLiteral("the training history was written by a newer Vestranoli"),
             QStringLiteral("layout %1, this one knows up to %2; it is left alone").arg(version).arg(schemaVersion));
        return false;
    }
    if (version == 0 && (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()
                         || query.value(0).toInt() != 0)) {
        fail(QStringLiteral("the training history is some other database"), QStringLiteral("it is left alone"));
        return false;
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))
        || !bringUpToDate(version)) {
        fail(QStringLiteral("cannot prepare the training history"), query.lastError().text());
        return false;
    }

    m_db->insertEchoGroup = QSqlQuery(m_db->db);
    m_db->insertCopyRun = QSqlQuery(m_db->db);
    if (!m_db->insertEchoGroup.prepare(QStringLiteral("INSERT INTO echo_group VALUES (?, ?, ?, ?, ?, ?, ?)"))
        || !m_db->insertCopyRun.prepare(QStringLiteral("INSERT INTO copy_run VALUES (?, ?, ?, ?, ?)"))) {
        fail(QStringLiteral("cannot prepare the training history"), m_db->insertEchoGroup.lastError().text());
        return false;
    }
    m_open = true;
    return true;
}

bool History::bringUpToDate(int version)
{
    if (version == schemaVersion)
        return true;
    if (!m_db->db.transaction())
        return false;
    QSqlQuery query(m_db->db);
    for (int step = version; step < schemaVersion; ++step) {
        for (const QString &statement : schemaSteps[step]) {
            if (!query.exec(statement)) {
                m_db->db.rollback();
                return false;
            }
        }
    }
    // PRAGMA takes no bound values; the number is ours.
    if (!query.exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion))) {
        m_db->db.rollback();
        return false;
    }
    return m_db->db.commit();
}

void History::close()
{
    m_open = false;
    if (!m_db)
        return;
    const QString name = m_db->db.connectionName();
    m_db.reset();
    QSqlDatabase::removeDatabase(name);
}

void History::fail(const QString &what, const QString &why)
{
    close();
    m_report(QStringLiteral("%1 %2 (%3); training goes on without it")
                     .arg(what, QDir::toNativeSeparators(m_path), why));
}

void History::insert(QSqlQuery &query, const QVariantList &values)
{
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(QStringLiteral("cannot write the training history"), query.lastError().text());
}

void History::recordEchoGroup(const EchoGroupRecord &group)
{
    if (m_open)
        insert(m_db->insertEchoGroup, {group.when.toMSecsSinceEpoch(), group.sent, group.decoded,
                                       group.good ? 1 : 0, group.speed, group.groupsize, group.pause});
}

void History::recordCopyRun(const CopyRunRecord &run)
{
    if (m_open)
        insert(m_db->insertCopyRun, {run.when.toMSecsSinceEpoch(), run.speed, run.groupsize, run.pause,
                                     run.groups.join(QLatin1Char('\n'))});
}

QList<EchoGroupRecord> History::echoGroups(const QDateTime &since) const
{
    QList<EchoGroupRecord> groups;
    if (!m_open)
        return groups;
    QSqlQuery query(m_db->db);
    query.prepare(QStringLiteral("SELECT at, sent, decoded, good, speed, groupsize, pause FROM echo_group "
                                 "WHERE at >= ? ORDER BY at, rowid"));
    query.addBindValue(since.isValid() ? since.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min());
    query.exec();
    while (query.next()) {
        groups.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC),
                       query.value(1).toString(), query.value(2).toString(), query.value(3).toBool(),
                       query.value(4).toInt(), query.value(5).toInt(), query.value(6).toInt()});
    }
    return groups;
}

QList<CopyRunRecord> History::copyRuns() const
{
    QList<CopyRunRecord> runs;
    if (!m_open)
        return runs;
    QSqlQuery query(m_db->db);
    query.exec(QStringLiteral("SELECT at, speed, groupsize, pause, groups FROM copy_run ORDER BY at, rowid"));
    while (query.next()) {
        runs.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC), query.value(1).toInt(),
                     query.value(2).toInt(), query.value(3).toInt(),
                     query.value(4).toString().split(QLatin1Char('\n'))});
    }
    return runs;
}
