#include "sqlitefunctions.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace qiantai::host {
namespace {

void GetDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    const auto* clock = static_cast<const HostClock*>(sqlite3_user_data(ctx));
    const QByteArray text = clock->now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

} // namespace

bool RegisterSqliteFunctions(QSqlDatabase& db, const HostClock* clock, QString* error)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        *error = QStringLiteral("无法取得SQLite连接句柄");
        return false;
    }
    sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
    if (!h || sqlite3_create_function_v2(h, "qt_getdate", 0, SQLITE_UTF8, const_cast<HostClock*>(clock),
                                         GetDate, nullptr, nullptr, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("注册数据库函数失败");
        return false;
    }
    return true;
}

} // namespace qiantai::host
