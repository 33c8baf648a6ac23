#include "screens/lookups/frminputxsxx.h"

#include "base/numbertext.h"
#include "controls/cjkfont.h"
#include "controls/flatedit.h"
#include "controls/inputfilter.h"
#include "sale/salesession.h"
#include "screens/lookups/frminputxsxxrules.h"
#include "screens/lookups/showhostmessage.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int RowHeight = 30;
constexpr int BodyWidth = 317;

TFlatEdit* makeEdit(QWidget* parent, const QString& name, int x, int y, int w, bool readOnly)
{
    auto* e = new TFlatEdit(parent);
    e->setObjectName(name);
    e->setFont(SongtiPixelFont(14));
    e->setGeometry(x, y, w, RowHeight - 6);
    e->setReadOnly(readOnly);
    return e;
}

} // namespace

TfrmInputXsxx::TfrmInputXsxx(QWidget* parent, SaleSession& session)
    : TBlueFrame(parent), s_(session), host_(session.HostObject.get())
{
    setObjectName(QStringLiteral("frmInputXsxx"));
    setHeading(QStringLiteral("输入柜组及营业员信息"));
    setKeyHint(QStringLiteral("【F1】上一步 【Enter】确定 【Esc】退出"));
    setBodySize(QSize(BodyWidth, 3 * RowHeight + 12));

    const QStringList captions{QStringLiteral("柜  组:"), QStringLiteral("营业员:"),
                               QStringLiteral("仓  库:")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* l = new QLabel(captions[i], body());
        l->setFont(SongtiPixelFont(14));
        l->setGeometry(10, 8 + i * RowHeight, 60, RowHeight - 6);
    }
    gzbm_ = makeEdit(body(), QStringLiteral("edtGzbm"), 72, 8, 90, false);
    gzmc_ = makeEdit(body(), QStringLiteral("edtGzmc"), 166, 8, 140, true);
    yyybm_ = makeEdit(body(), QStringLiteral("edtYyybm"), 72, 8 + RowHeight, 90, false);
    yyymc_ = makeEdit(body(), QStringLiteral("edtYyymc"), 166, 8 + RowHeight, 140, true);
    ckbm_ = makeEdit(body(), QStringLiteral("edtCkbm"), 72, 8 + 2 * RowHeight, 90, false);
    ckmc_ = makeEdit(body(), QStringLiteral("edtCkmc"), 166, 8 + 2 * RowHeight, 140, true);
    RestrictInput(gzbm_, IsDigitChar);
    RestrictInput(yyybm_, IsDigitChar);

    gzbm_->setText(s_.Gzbm);
    gzmc_->setText(s_.Gzmc);
    yyybm_->setText(s_.Yyybm);
    yyymc_->setText(s_.Yyymc);
    ckbm_->setText(s_.Ckbm);
    ckmc_->setText(s_.Ckmc);
    for (TFlatEdit* e : {gzbm_, gzmc_, yyybm_, yyymc_, ckbm_, ckmc_})
        routeKeys(e);
    setWarehouseEnabled(false);
}

void TfrmInputXsxx::setWarehouseEnabled(bool enabled)
{
    warehouse_ = enabled;
    ckbm_->setEnabled(enabled);
    ckmc_->setEnabled(enabled);
}

bool TfrmInputXsxx::chainMall() const
{
    return s_.Dwlx == QLatin1String("10") || s_.Dwlx == QLatin1String("11");
}

void TfrmInputXsxx::showEvent(QShowEvent* event)
{
    TBlueFrame::showEvent(event);
    const bool mall = chainMall();
    gzbm_->setEnabled(mall);
    gzmc_->setEnabled(mall);
    (mall ? gzbm_ : yyybm_)->setFocus();
}

void TfrmInputXsxx::tell(const QString& message)
{
    ShowHostMessage(message, SalesInfoCaption(), QString(), InfoKind::Statement, this);
}

void TfrmInputXsxx::counterCodeEnter()
{
    QString message;
    if (!ApplyCounterGroupRule(host_, s_, gzbm_->text(), message)) {
        tell(message);
        gzbm_->setFocus();
        return;
    }
    gzbm_->setText(s_.Gzbm);
    gzmc_->setText(s_.Gzmc);
    gzmc_->setFocus();
}

void TfrmInputXsxx::salespersonCodeEnter()
{
    if (!ApplySalespersonRule(host_, s_, yyybm_->text()))
        return;
    yyymc_->setText(s_.Yyymc);
    yyymc_->setFocus();
}

void TfrmInputXsxx::salespersonNameEnter()
{
    if (s_.Yyymc.isEmpty())
        return;
    if (warehouse_)
        ckbm_->setFocus();
    else
        finish(Confirmed);
}

void TfrmInputXsxx::warehouseCodeEnter()
{
    QString message;
    switch (ApplyWarehouseRule(host_, s_, ckbm_->text(), message)) {
    case WarehouseOutcome::Empty:
        finish(Confirmed);
        return;
    case WarehouseOutcome::Found:
        ckbm_->setText(s_.Ckbm);
        ckmc_->setText(s_.Ckmc);
        ckmc_->setFocus();
        return;
    case WarehouseOutcome::Refused:
        tell(message);
        ckbm_->setFocus();
        return;
    }
}

void TfrmInputXsxx::backOneBox(QWidget* at)
{
    const QList<TFlatEdit*> boxes{gzbm_, gzmc_, yyybm_, yyymc_, ckbm_, ckmc_};
    for (auto i = boxes.indexOf(qobject_cast<TFlatEdit*>(at)) - 1; i >= 0; --i)
        if (boxes[i]->isEnabled()) {
            boxes[i]->setFocus();
            return;
        }
}

bool TfrmInputXsxx::frameKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        finish(PreviousStep);
        return true;
    }
    if (IsEscKey(event)) {
        finish(Exit);
        return true;
    }
    QWidget* at = focusWidget();
    const int key = event->key();
    // Tab moves on as Enter does, through the same checks; Shift+Tab goes
    // back one box. Neither is left to the focus chain, which would pass
    // the checks by.
    const bool shifted = event->modifiers() & Qt::ShiftModifier;
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && shifted)) {
        backOneBox(at);
        return true;
    }
    const bool enter = IsEnterKey(event) || key == Qt::Key_Tab;
    if (at == gzbm_ && enter) {
        counterCodeEnter();
        return true;
    }
    if (at == gzmc_) {
        if (key == Qt::Key_Left) {
            gzbm_->setFocus();
            return true;
        }
        if (enter) {
            yyybm_->setFocus();
            return true;
        }
    }
    if (at == yyybm_) {
        if (enter) {
            salespersonCodeEnter();
            return true;
        }
        if (key == Qt::Key_Up && gzbm_->isEnabled()) {
            gzbm_->setFocus();
            return true;
        }
        if (key == Qt::Key_Right) {
            yyymc_->setFocus();
            return true;
        }
    }
    if (at == yyymc_) {
        if (key == Qt::Key_Left) {
            yyybm_->setFocus();
            return true;
        }
        if (enter) {
            salespersonNameEnter();
            return true;
        }
    }
    if (at == ckbm_ && enter) {
        warehouseCodeEnter();
        return true;
    }
    if (at == ckmc_) {
        if (key == Qt::Key_Left) {
            ckbm_->setFocus();
            return true;
        }
        if (enter) {
            finish(Confirmed);
            return true;
        }
    }
    return enter; // Enter elsewhere must not reach QDialog's default button
}

bool TfrmInputXsxx::eventFilter(QObject* watched, QEvent* event)
{
    // A salesperson code that was not accepted disappears with the focus.
    if (watched == yyybm_ && event->type() == QEvent::FocusOut)
        yyybm_->setText(s_.Yyybm);
    return TBlueFrame::eventFilter(watched, event);
}

} // namespace qiantai
