#include "modalscript.h"

#include "screens/lookups/frmselectsp.h"
#include "screens/lookups/frmselectsprules.h"

#include <QHeaderView>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ModalScript;

namespace {

// Two products that share a bar code, as the product lookup returns them.
DataPacket SharedBarCode()
{
    DataPacket p;
    for (const char* c : {"f_Spbm", "f_sphh", "f_sptm", "f_spmc", "f_Lsj"})
        p.addColumn(QLatin1String(c), FieldType::Text);
    p.appendRow({QStringLiteral("100003"), QStringLiteral("KX-19"), QStringLiteral("6901234567892"),
                 QString::fromUtf8("电热水壶 1.5升"), 199.0});
    p.appendRow({QStringLiteral("100004"), QStringLiteral("KX-21"), QStringLiteral("6901234567892"),
                 QString::fromUtf8("电热水壶 1.7升"), 219.0});
    return p;
}

struct Pick {
    int result = -1;
    int chosen = -2;
};

Pick RunPickList(const DataPacket& rows, const char* script, std::function<void(QWidget*)> inspect = {})
{
    TfrmSelectSp list(nullptr);
    list.setRows(rows);
    ModalScript keys(QString::fromUtf8(script), std::move(inspect));
    Pick pick;
    pick.result = list.exec();
    pick.chosen = list.chosenRow();
    EXPECT_TRUE(keys.done()) << script;
    return pick;
}

} // namespace

TEST(TfrmSelectSp, TheCashiersChoiceDecidesBetweenProductsSharingABarCode)
{
    const struct {
        const char* script;
        int result;
        int chosen;
    } cases[] = {
        {"<Enter>", QDialog::Accepted, 0},
        {"<Down><Enter>", QDialog::Accepted, 1},
        {"<Down><Down><Up><Enter>", QDialog::Accepted, 0},
        {"100004<Tab><Enter>", QDialog::Accepted, 0}, // typing edits nothing and moves nothing
        {"<Down><Esc>", QDialog::Rejected, -1},
    };
    for (const auto& c : cases) {
        const Pick pick = RunPickList(SharedBarCode(), c.script);
        EXPECT_EQ(pick.result, c.result) << c.script;
        EXPECT_EQ(pick.chosen, c.chosen) << c.script;
    }
}

TEST(TfrmSelectSp, ShowsEveryRowInOrderWithItsFourColumns)
{
    QStringList headers;
    QList<QStringList> lines;
    bool fixed = false;
    RunPickList(SharedBarCode(), "x<Esc>", [&](QWidget* w) {
        QTableWidget* table = static_cast<TfrmSelectSp*>(w)->list();
        for (int c = 0; c < table->columnCount(); ++c)
            headers << table->horizontalHeaderItem(c)->text();
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList line;
            for (int c = 0; c < table->columnCount(); ++c)
                line << table->item(r, c)->text();
            lines << line;
        }
        fixed = table->editTriggers() == QAbstractItemView::NoEditTriggers &&
                !table->horizontalHeader()->sectionsClickable() && !table->isSortingEnabled();
    });
    EXPECT_EQ(headers, (QStringList{QString::fromUtf8("商品编码"), QString::fromUtf8("商品货号"),
                                    QString::fromUtf8("商品条码"), QString::fromUtf8("商品名称")}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], (QStringList{QStringLiteral("100003"), QStringLiteral("KX-19"),
                                     QStringLiteral("6901234567892"), QString::fromUtf8("电热水壶 1.5升")}));
    EXPECT_EQ(lines[1][0], QStringLiteral("100004"));
    EXPECT_TRUE(fixed); // nothing can be edited and the headers do not sort
}

TEST(TfrmSelectSp, EnterWithoutALineDoesNothing)
{
    const Pick pick = RunPickList(DataPacket(SharedBarCode().columns()), "<Enter><Esc>");
    EXPECT_EQ(pick.result, QDialog::Rejected);
    EXPECT_EQ(pick.chosen, -1);
}

TEST(ChosenProductRow, MatchesTheLinesProductCodeIgnoringCase)
{
    DataPacket rows = SharedBarCode();
    rows.appendRow({QStringLiteral("ab01"), QStringLiteral("h"), QStringLiteral("t"), QStringLiteral("n1")});
    rows.appendRow({QStringLiteral("AB01"), QStringLiteral("h"), QStringLiteral("t"), QStringLiteral("n2")});
    EXPECT_EQ(ChosenProductRow(rows, 1, QStringLiteral("100004")), 1);
    // Two rows with the same code: the highlighted line's own row.
    EXPECT_EQ(ChosenProductRow(rows, 3, QStringLiteral("AB01")), 3);
    EXPECT_EQ(ChosenProductRow(rows, 2, QStringLiteral("AB01")), 2);
    // A line whose row does not carry the code: the first row that does.
    EXPECT_EQ(ChosenProductRow(rows, 0, QStringLiteral("Ab01")), 2);
    EXPECT_EQ(ChosenProductRow(rows, 0, QStringLiteral("999999")), -1);
    EXPECT_EQ(ChosenProductRow(rows, -1, QStringLiteral("100003")), 0);
    DataPacket noCode;
    noCode.addColumn(QStringLiteral("f_spmc"), FieldType::Text);
    noCode.appendRow({QStringLiteral("x")});
    EXPECT_EQ(ChosenProductRow(noCode, 0, QString()), -1);
}
