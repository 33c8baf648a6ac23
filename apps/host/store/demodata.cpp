#include "demodata.h"

#include <QSqlError>
#include <QSqlQuery>

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

bool GenerateProducts(Database& db, int count, QString* error)
{
    QSqlQuery product(db.connection()), status(db.connection()), stock(db.connection());
    product.prepare(
        QStringLiteral("INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, "
                       "f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl) VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, "
                       "?, ?, 1, 17)"));
    status.prepare(QStringLiteral("INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES (?, '01')"));
    stock.prepare(QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES (?, ?, ?)"));
    static const char* origins[] = {"广东", "浙江", "江苏", "安徽", "山东"};
    const int kinds = int(sizeof Categories / sizeof Categories[0]);
    for (int i = 0; i < count; ++i) {
        const qint64 n = 200001 + i;
        const Category& c = Categories[i % kinds];
        const int variant = (i / kinds) % 3;
        const double list = c.price + 100.0 * variant + 10.0 * ((i / (kinds * 3)) % 10);
        const QString code = QString::number(n);
        product.addBindValue(code);
        product.addBindValue(QStringLiteral("G") + code);
        product.addBindValue(QString::fromUtf8(c.name));
        product.addBindValue(BarCode(n));
        product.addBindValue(QString::fromUtf8(origins[i % 5]));
        product.addBindValue(QString::fromUtf8(c.specs[variant]) + QStringLiteral(" 型号") + code.right(4));
        product.addBindValue(QString::fromUtf8(c.unit));
        product.addBindValue(double(qRound64(list * 0.72)));
        product.addBindValue(list);
        product.addBindValue(double(qRound64(list * 0.9)));
        status.addBindValue(code);
        stock.addBindValue(i % 2 ? QStringLiteral("0102") : QStringLiteral("0101"));
        stock.addBindValue(code);
        stock.addBindValue(double(5 + i % 20));
        for (QSqlQuery* q : {&product, &status, &stock})
            if (!q->exec()) {
                *error = DescribeSqlError(q->lastError());
                return false;
            }
    }
    return true;
}

} // namespace

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
