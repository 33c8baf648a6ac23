// The module speaks the SQL Server dialect; the store runs on SQLite or
// PostgreSQL. This layer rewrites each statement for the backend it runs on.
#pragma once

#include <QString>
#include <QStringList>

namespace qiantai::host {

enum class SqlBackend { Sqlite, Postgres };

// Rewrites one SQL Server statement for `backend`:
//  - IsNull(a, b)            -> COALESCE(a, b)
//  - GetDate()               -> the host's clock (SQLite) / LOCALTIMESTAMP(0)
//  - '...' + x, x + '...'    -> || (text concatenation next to a text literal)
//  - N'...'                  -> '...'
//  - [name]                  -> name
//  - Values current timestamp (the DB2 date statement) -> Select <now>
//  - Like                    -> ILIKE on PostgreSQL (SQL Server compares
//                               without regard to case)
// String literals and comments are never touched.
QString RewriteSql(const QString& sql, SqlBackend backend);

// Splits a script into statements at ';' outside literals and comments.
// Empty statements are dropped.
QStringList SplitSqlScript(const QString& script);

} // namespace qiantai::host
