#include "demodata.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace qiantai::host {

const DemoLogin DemoLogins[4] = {{"0001", "0001"}, {"0002", "0002"}, {"1001", "1001"}, {"1009", "1009"}};

namespace {

// Receipt templates: category and report name (UTF-8), and the file of
// db/templates that holds the layout.
struct DemoTemplate {
    const char* name;
    const char* file;
};
const DemoTemplate DemoTemplates[] = {{"销货单", "xiaohuodan.txt"}, {"销货退单", "xiaohuotuidan.txt"}};

struct Category {
    const char* name;
    const char* unit;
    const char* specs[3];
    double price;
};

const Category Categories[] = {
    {"液晶电视", "台", {"32英寸", "43英寸", "65英寸"}, 1999},
    {"双门冰箱", "台", {"180升", "230升", "260升"}, 1799},
    {"滚筒洗衣机", "台", {"8公斤", "10公斤", "12公斤"}, 2599},
    {"柜式空调", "套", {"2匹", "3匹", "5匹"}, 4999},
    {"电饭煲", "个", {"3升", "4升", "5升"}, 299},
    {"电磁炉", "台", {"2100瓦", "2200瓦", "2400瓦"}, 259},
    {"吸尘器", "台", {"卧式", "立式", "手持"}, 699},
    {"电风扇", "台", {"落地扇", "台扇", "壁扇"}, 199},
    {"热水器", "台", {"40升", "60升", "80升"}, 1299},
    {"油烟机", "台", {"侧吸式", "顶吸式", "近吸式"}, 2199},
};

// EAN-13 with the check digit.
QString BarCode(qint64 n)
{
    const QString body = QStringLiteral("69") + QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += body[i].digitValue() * (i % 2 ? 3 : 1);
    return body + QString::number((10 - sum % 10) % 10);
}

QString Substitute(QString text, const QString& month)
{
    text.replace(QStringLiteral("${YYYYMM}"), month);
    text.replace(QStringLiteral("${QYNY}"), month);
    text.replace(QStringLiteral("${MONTHSTART}"), month + QStringLiteral("01"));
    return text;
}

bool RunStatements(Database& db, const QString& script, QString* error)
{
    for (const QString& s : SplitSqlScript(script))
        if (!db.exec(s, {}, error))
            return false;
    return true;
}

// The receipt templates of db/templates, each under its own category and name.
bool LoadTemplates(Database& db, QString* error)
{
    for (const DemoTemplate& t : DemoTemplates) {
        const QString text = SchemaText(QStringLiteral("templates/") + QLatin1String(t.file));
        if (text.isEmpty()) {
            *error = QStringLiteral("缺少报表模板文件 ") + QLatin1String(t.file);
            return false;
        }
        const QString name = QString::fromUtf8(t.name);
        if (!db.exec(QStringLiteral(
                         "INSERT INTO tbReport (f_Category, f_Reportname, f_Reportinfo) VALUES (?, ?, ?)"),
                     {name, name, text}, error))
            return false;
    }
    return true;
}

// Rows per INSERT: few statements (one round trip each on a server) while
// staying far below either backend's limit on bound values.
constexpr int GeneratedBatch = 200;

// "INSERT INTO <table> (<columns>) VALUES (<row>), (<row>), ..." for `rows` rows.
QString BatchInsert(const QString& head, const QString& row, int rows)
{
    QString sql = head + QStringLiteral(" VALUES ");
    sql.reserve(sql.size() + rows * (row.size() + 4));
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            sql += QStringLiteral(", ");
        sql += QLatin1Char('(') + row + QLatin1Char(')');
    }
    return sql;
}

// The three inserts of `rows` generated products, prepared once per size.
struct ProductBatch {
    explicit ProductBatch(Database& db)
        : product(db.connection()), status(db.connection()), stock(db.connection())
    {
    }
    bool prepare(int rows, QString* error)
    {
        const bool ok =
            product.prepare(
                BatchInsert(QStringLiteral("INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, "
                                           "f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl)"),
                            QStringLiteral("?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, 1, 17"), rows)) &&
            status.prepare(BatchInsert(QStringLiteral("INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm)"),
                                       QStringLiteral("?, '01'"), rows)) &&
            stock.prepare(BatchInsert(QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl)"),
                                      QStringLiteral("?, ?, ?"), rows));
        if (!ok)
            *error = DescribeSqlError(product.lastError().isValid()  ? product.lastError()
                                      : status.lastError().isValid() ? status.lastError()
                                                                     : stock.lastError());
        return ok;
    }
    QSqlQuery product, status, stock;
};

void BindProduct(ProductBatch& b, int i)
{
    static const char* origins[] = {"广东", "浙江", "江苏", "安徽", "山东"};
    const int kinds = int(sizeof Categories / sizeof Categories[0]);
    const GeneratedProduct g = DemoGeneratedProduct(i);
    const Category& c = Categories[i % kinds];
    const int variant = (i / kinds) % 3;
    const double list = c.price + 100.0 * variant + 10.0 * ((i / (kinds * 3)) % 10);
    b.product.addBindValue(g.code);
    b.product.addBindValue(g.itemNumber);
    b.product.addBindValue(QString::fromUtf8(c.name));
    b.product.addBindValue(g.barCode);
    b.product.addBindValue(QString::fromUtf8(origins[i % 5]));
    b.product.addBindValue(QString::fromUtf8(c.specs[variant]) + QStringLiteral(" 型号") + g.code.right(4));
    b.product.addBindValue(QString::fromUtf8(c.unit));
    b.product.addBindValue(double(qRound64(list * 0.72)));
    b.product.addBindValue(list);
    b.product.addBindValue(double(qRound64(list * 0.9)));
    b.status.addBindValue(g.code);
    b.stock.addBindValue(g.group);
    b.stock.addBindValue(g.code);
    b.stock.addBindValue(double(5 + i % 20));
}

// The counter groups sell by code prefix and the fixed data maps codes
// beginning with 1 and 2; a large catalogue reaches further first digits.
bool MapGeneratedPrefixes(Database& db, int count, QString* error)
{
    const qint64 first = FirstGeneratedProduct, last = FirstGeneratedProduct + count - 1;
    QSet<QChar> digits;
    for (qint64 power = 100000; power <= last; power *= 10)
        for (int d = 1; d <= 9; ++d)
            if (d * power <= last && (d + 1) * power - 1 >= first)
                digits.insert(QChar(u'0' + d));
    for (QChar d : {u'1', u'2'})
        digits.remove(d);
    for (QChar d : digits)
        for (const char* department : {"0101", "0102", "01"})
            if (!db.exec(QStringLiteral("INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES (?, ?)"),
                         {QString::fromLatin1(department), QString(d)}, error))
                return false;
    return true;
}

bool GenerateProducts(Database& db, int count, QString* error)
{
    if (count <= 0)
        return true;
    if (!MapGeneratedPrefixes(db, count, error))
        return false;
    ProductBatch full(db), rest(db);
    if (count >= GeneratedBatch && !full.prepare(GeneratedBatch, error))
        return false;
    if (count % GeneratedBatch != 0 && !rest.prepare(count % GeneratedBatch, error))
        return false;
    for (int first = 0; first < count; first += GeneratedBatch) {
        ProductBatch& b = count - first >= GeneratedBatch ? full : rest;
        const int end = std::min(count, first + GeneratedBatch);
        for (int i = first; i < end; ++i)
            BindProduct(b, i);
        // Products first: the other two refer to them.
        for (QSqlQuery* q : {&b.product, &b.status, &b.stock})
            if (!q->exec()) {
                *error = DescribeSqlError(q->lastError());
                return false;
            }
    }
    return true;
}

} // namespace

GeneratedProduct DemoGeneratedProduct(int i)
{
    const qint64 n = FirstGeneratedProduct + i;
    GeneratedProduct g;
    g.code = QString::number(n);
    g.itemNumber = QStringLiteral("G") + g.code;
    g.barCode = BarCode(n);
    g.group = i % 2 ? QStringLiteral("0102") : QStringLiteral("0101");
    return g;
}

bool CreateDemoStore(HostContext& ctx, const DemoOptions& options, QString* error)
{
    Database& s = *ctx.store;
    QVariant v;
    bool found = false;
    if (!s.scalar(QStringLiteral("SELECT 1 FROM tbSysmsg"), {}, &v, &found, error))
        return false;
    if (found) {
        *error = QStringLiteral("门店数据库已有系统参数，不能再创建演示门店");
        return false;
    }
    const QString month = ctx.now().toString(QStringLiteral("yyyyMM"));
    if (!SetAccountingMonth(s, month, error))
        return false;
    QStringList hashes;
    for (const DemoLogin& l : DemoLogins) {
        hashes.append(HashPassword(QString::fromLatin1(l.password), options.hashCost));
        if (hashes.last().isEmpty()) {
            *error = QStringLiteral("生成密码散列失败");
            return false;
        }
    }
    if (!s.begin(error))
        return false;
    {
        TransactionGuard guard(s);
        if (!RunStatements(s, Substitute(SchemaText(QStringLiteral("demo/sysmsg.sql")), month), error) ||
            !RunStatements(s, Substitute(SchemaText(QStringLiteral("demo/store.sql")), month), error) ||
            !LoadTemplates(s, error))
            return false;
        for (int i = 0; i < 4; ++i)
            if (!s.exec(QStringLiteral("UPDATE tbZyda SET f_Mmhx = ? WHERE f_Zybm = ?"),
                        {hashes[i], QString::fromLatin1(DemoLogins[i].code)}, error))
                return false;
        if (!GenerateProducts(s, options.generatedProducts, error))
            return false;
        if (!guard.commit(error))
            return false;
    }
    if (ctx.centre && !ctx.centre->runScript(SchemaText(QStringLiteral("demo/centre.sql")), error))
        return false;
    return true;
}

} // namespace qiantai::host
