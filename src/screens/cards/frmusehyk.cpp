#include "screens/cards/frmusehyk.h"

#include "controls/cjkfont.h"
#include "controls/flatedit.h"
#include "sale/salesession.h"
#include "screens/cards/frmusehykrules.h"
#include "screens/lookups/showhostmessage.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

// The design colour 16244678 (blue, green, red from the high byte down).
const QColor Background(0xC6, 0xE0, 0xF7);

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& where, int pixels, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setFont(SongtiPixelFont(pixels, bold));
    l->setGeometry(where);
    return l;
}

} // namespace

TfrmUseHyk::TfrmUseHyk(QWidget* parent, SaleSession& session, CardServices services)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), s_(session), services_(std::move(services)),
      edtKh_(new TFlatEdit(this)), edtMm_(new TFlatEdit(this))
{
    setObjectName(QStringLiteral("frmUseHyk"));
    setModal(true);
    setFixedSize(332, 118);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Background);
    setPalette(pal);

    auto* title = makeLabel(this, QStringLiteral("使用会员卡"), QRect(0, 6, 332, 22), 16, true);
    title->setAlignment(Qt::AlignCenter);
    makeLabel(this, QStringLiteral("卡号："), QRect(40, 36, 50, 22), 14);
    makeLabel(this, QStringLiteral("密码："), QRect(40, 64, 50, 22), 14);
    auto* hint =
        makeLabel(this, QStringLiteral("【F2】重刷【Enter】确定 【Esc】取消"), QRect(0, 92, 332, 20), 12);
    hint->setAlignment(Qt::AlignCenter);

    edtKh_->setObjectName(QStringLiteral("edtKh"));
    edtMm_->setObjectName(QStringLiteral("edtMm"));
    edtKh_->setGeometry(92, 36, 200, 22);
    edtMm_->setGeometry(92, 64, 200, 22);
    for (TFlatEdit* e : {edtKh_, edtMm_}) {
        e->setFont(SongtiPixelFont(14));
        e->setPasswordChar(QLatin1Char('*'));
        e->installEventFilter(this);
    }
}

void TfrmUseHyk::reject()
{
    if (ending_)
        QDialog::reject();
}

void TfrmUseHyk::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtKh_->setFocus();
}

bool TfrmUseHyk::swipeGiven(bool clearWhenEmpty)
{
    if (!edtKh_->text().trimmed().isEmpty())
        return true;
    ShowHostMessage(EmptySwipeText(), EmptySwipeCaption(), QString(), InfoKind::Statement, this);
    if (clearWhenEmpty)
        edtKh_->clear();
    edtKh_->setFocus();
    return false;
}

void TfrmUseHyk::query()
{
    const QString cardNo = TrimCardNumber(edtKh_->text(), s_.Ckqzws, s_.Ckhzws);
    TCardInfo card;
    if (!services_.QueryMemberCard(MemberCardQueryRequest(cardNo, edtMm_->text(), s_.Dybm), card)) {
        edtKh_->clear();
        edtKh_->setFocus();
        return;
    }
    s_.CurrentMemberCard = card;
    ending_ = true;
    done(Found);
}

bool TfrmUseHyk::screenKey(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_F2) {
        edtKh_->clear();
        edtMm_->clear();
        edtKh_->setFocus();
        edtKh_->selectAll();
        return true;
    }
    if (key == Qt::Key_Escape) {
        ending_ = true;
        done(Cancelled);
        return true;
    }
    QWidget* at = focusWidget();
    if (at == edtKh_ && (enter || key == Qt::Key_Down)) {
        if (swipeGiven(enter))
            edtMm_->setFocus();
        return true;
    }
    if (at == edtMm_ && key == Qt::Key_Up) {
        edtKh_->setFocus();
        return true;
    }
    if (at == edtMm_ && enter) {
        query();
        return true;
    }
    return enter;
}

void TfrmUseHyk::keyPressEvent(QKeyEvent* event)
{
    if (!screenKey(event))
        QDialog::keyPressEvent(event);
}

bool TfrmUseHyk::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == edtKh_ || watched == edtMm_) &&
        screenKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace qiantai
