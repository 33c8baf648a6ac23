#include "screens/sales/frmmain.h"

#include "controls/cjkfont.h"
#include "devices/posprinter.h"
#include "devices/systemclock.h"
#include "sale/salesession.h"
#include "screens/cards/frmusehyk.h"
#include "screens/cards/stationcardservices.h"
#include "screens/cards/systools.h"
#include "screens/checkout/entercheckout.h"
#include "screens/checkout/receiptreprint.h"
#include "screens/discount/discountentrypoint.h"
#include "screens/lookups/frminputxsxx.h"
#include "screens/lookups/frmselect.h"
#include "screens/lookups/showhostmessage.h"
#include "screens/sales/limitedoffer.h"
#include "screens/sales/salegrid.h"
#include "screens/sales/salegridrules.h"
#include "screens/sales/saleskeys.h"
#include "screens/sales/saleslabels.h"
#include "screens/sales/saleslayout.h"
#include "screens/sales/salespanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace qiantai {

namespace {

const QColor MainBack(214, 223, 247);
const QColor PanelBack(198, 223, 247);
const QColor PanelBorder(0, 66, 0);
const QColor ShadowBack(19, 91, 125);
const QColor GridFrameGreen(0, 128, 0);
const QColor ClockBlue(0, 0, 192);
const QColor NrRed(225, 0, 0);
const QColor TotalsOlive(128, 128, 0);

constexpr int Yes = 1;

const char* const KeyHint = "Esc 退出 F1结算 F3折扣 F4删除单行 F5删除全部  F6修改销售参数  F10系统功能";

// The totals are drawn in Arial; Liberation Sans has its metrics.
QFont ArialPixelFont(int pixels)
{
    QFont f;
    f.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                  const QColor& colour = Qt::black)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, colour);
    l->setPalette(pal);
    l->adjustSize();
    return l;
}

// Width of `label`'s text in its font.
int textWidth(const QLabel* label)
{
    return QFontMetrics(label->font()).horizontalAdvance(label->text());
}

struct FooterField {
    const char* name;
    const char* caption;
    int share; // of the footer's width, in eighths of the field row
};

const FooterField FooterFields[] = {
    {"edtBm", "编码", 10},   {"edtHh", "货号", 9}, {"edtTm", "条码", 12}, {"edtJldw", "计量单位", 7},
    {"edtBzl", "包装率", 7}, {"edtZk", "折扣", 7}, {"edtHy", "会员", 18},
};

} // namespace

TFrmMain::TFrmMain(QWidget* owner, QWidget* hostControl, const StartupServices& services)
    : TFrmBase(owner, hostControl)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("电器前台销售系统"));
    buildWidgets();
    FormCreate(services);
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::FormCreate(const StartupServices& services)
{
    firstShow_ = true;
    startupOk_ = false;
    SaleSession& s = Session();
    s.OwnerWindow = s.HostAppHandle;
    SalesStartup startup(s, services);
    if (!startup.Run()) {
        showStop(startup.Stop());
        return;
    }
    params_ = startup.Params();
    RegisterReceiptReprintTool();
    startupOk_ = true;
}

void TFrmMain::showStop(const StartupStop& stop)
{
    if (stop.box == StopBox::System) {
        QMessageBox::critical(dialogOwner(), stop.caption, stop.message.toString());
        return;
    }
    ShowHostMessage(stop.message, stop.caption, QString(), InfoKind::Statement, dialogOwner());
}

QWidget* TFrmMain::dialogOwner()
{
    QWidget* host = Session().HostAppHandle;
    return host ? host : this;
}

void TFrmMain::buildWidgets()
{
    QFrame* main = PanelMain();
    QPalette pal = main->palette();
    pal.setColor(QPalette::Window, MainBack);
    main->setPalette(pal);

    // Shadows first so that their panels are drawn over them.
    panTitle2_ = new TSalesPanel(main, ShadowBack);
    panTitle1_ = new TSalesPanel(main, PanelBack, PanelBorder);
    panNr2_ = new TSalesPanel(main, ShadowBack);
    panNr1_ = new TSalesPanel(main, PanelBack, PanelBorder);
    panBody1_ = new TSalesPanel(main, PanelBack);
    sapGrid_ = new TSalesPanel(panBody1_, PanelBack, GridFrameGreen);
    panGrid_ = new TSalesPanel(sapGrid_, PanelBack);
    panFooter_ = new TSalesPanel(main, PanelBack, PanelBorder);
    panTitle1_->setObjectName(QStringLiteral("PanTitle1"));
    panTitle2_->setObjectName(QStringLiteral("PanTitle2"));
    panNr1_->setObjectName(QStringLiteral("PanNr1"));
    panNr2_->setObjectName(QStringLiteral("PanNr2"));
    panBody1_->setObjectName(QStringLiteral("panBody1"));
    sapGrid_->setObjectName(QStringLiteral("sapGrid"));
    panGrid_->setObjectName(QStringLiteral("panGrid"));
    grid_ = new TSaleGrid(panGrid_);
    grid_->setObjectName(QStringLiteral("sgdGrid"));
    connect(grid_, &TSaleGrid::LinesChanged, this, &TFrmMain::RefreshLabels);
    connect(grid_, &TSaleGrid::CurrentLineShown, this, &TFrmMain::showLineDetails);
    panFooter_->setObjectName(QStringLiteral("panFooter"));

    lblBmbm_ =
        makeLabel(panTitle1_, "lblBmbm", QStringLiteral("电器前台销售系统"), SongtiPixelFont(20, true));
    lblTitle1_ = makeLabel(panTitle1_, "lblTitle1", QString(), SongtiPixelFont(16));
    lblTitle2_ = makeLabel(panTitle1_, "lblTitle2", QString(), SongtiPixelFont(16));
    lblTime_ = makeLabel(panTitle1_, "lblTime", QStringLiteral("2000年01月02日 12:24:13"),
                         SongtiPixelFont(16), ClockBlue);

    lblDjh_ = makeLabel(panNr1_, "lblDjh", QStringLiteral("单据号："), SongtiPixelFont(16));
    lblNr_ = makeLabel(panNr1_, "lblNr", QStringLiteral("销售"), SongtiPixelFont(48, true), NrRed);
    lbljs1_ = makeLabel(panNr1_, "lbljs1", QStringLiteral("件"), SongtiPixelFont(24, true));
    lbljs2_ = makeLabel(panNr1_, "lbljs2", QStringLiteral("数"), SongtiPixelFont(24, true));
    lbljs_ = makeLabel(panNr1_, "lbljs", QStringLiteral("   0"), ArialPixelFont(64), TotalsOlive);
    lblje1_ = makeLabel(panNr1_, "lblje1", QStringLiteral("金"), SongtiPixelFont(24, true));
    lblje2_ = makeLabel(panNr1_, "lblje2", QStringLiteral("额"), SongtiPixelFont(24, true));
    lblje_ = makeLabel(panNr1_, "lblje", QStringLiteral("0.00"), ArialPixelFont(64), TotalsOlive);

    // The footer is disabled so that none of its fields takes the focus; its
    // texts keep their colours.
    for (const FooterField& f : FooterFields) {
        makeLabel(panFooter_, "", QString::fromUtf8(f.caption), SongtiPixelFont(14));
        auto* e = new QLineEdit(panFooter_);
        e->setObjectName(QLatin1String(f.name));
        e->setFont(SongtiPixelFont(14));
        e->setReadOnly(true);
        QPalette ep = e->palette();
        ep.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
        ep.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
        e->setPalette(ep);
    }
    edtHy_ = footerField("edtHy");
    lblTsxx_ = makeLabel(panFooter_, "lblTsxx", QString::fromUtf8(KeyHint), SongtiPixelFont(16), ClockBlue);
    panFooter_->setEnabled(false);

    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &TFrmMain::UpdateClock);
    qApp->installEventFilter(this);
}

QLabel* TFrmMain::label(const char* name) const
{
    return findChild<QLabel*>(QLatin1String(name));
}

QLineEdit* TFrmMain::footerField(const char* name) const
{
    return findChild<QLineEdit*>(QLatin1String(name));
}

QWidget* TFrmMain::gridPanel() const
{
    return panGrid_;
}

void TFrmMain::ApplyLayout(QSize screen)
{
    setGeometry(QRect(QPoint(0, 0), screen));
    PanelMain()->setGeometry(QRect(QPoint(0, 0), screen));
    const SalesLayoutGeometry g = ComputeSalesLayout(screen);
    panTitle1_->setGeometry(g.title);
    panTitle2_->setGeometry(g.titleShadow);
    panNr1_->setGeometry(g.number);
    panNr2_->setGeometry(g.numberShadow);
    panBody1_->setGeometry(g.body);
    panFooter_->setGeometry(g.footer);
    sapGrid_->setGeometry(g.gridFrame);
    panGrid_->setGeometry(g.gridPanel);
    grid_->setGeometry(g.grid);
    grid_->SetColumnWidthsFor(g.grid.width());

    // Title: name centred, cashier and counter lines at the left, clock at
    // the right.
    const int tw = g.title.width();
    lblBmbm_->adjustSize();
    lblBmbm_->move((tw - lblBmbm_->width()) / 2, 6);
    lblTitle1_->setGeometry(10, 8, tw / 2, 22);
    lblTitle2_->setGeometry(10, 36, tw / 2, 22);
    lblTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTime_->setGeometry(tw - 10 - 260, 36, 260, 22);

    // Footer: a row of captioned fields over the centred key hint.
    const int fw = g.footer.width() - 16;
    int shares = 0;
    for (const FooterField& f : FooterFields)
        shares += f.share;
    const QList<QLabel*> captions = panFooter_->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    int x = 8;
    int i = 0;
    for (const FooterField& f : FooterFields) {
        QLabel* caption = captions.value(i++);
        const int slot = fw * f.share / shares;
        const int cw = caption ? textWidth(caption) + 4 : 0;
        if (caption)
            caption->setGeometry(x, 10, cw, 22);
        footerField(f.name)->setGeometry(x + cw, 10, std::max(20, slot - cw - 6), 22);
        x += slot;
    }
    lblTsxx_->adjustSize();
    lblTsxx_->move((g.footer.width() - lblTsxx_->width()) / 2, 42);

    flowNumberPanel();
    UpdateClock();
}

void TFrmMain::flowNumberPanel()
{
    // Each label starts after the one before it; the totals are as wide as
    // their texts.
    lblDjh_->setGeometry(15, 4, std::max(200, textWidth(lblDjh_) + 8), 20);
    lblNr_->setGeometry(10, 26, textWidth(lblNr_) + 4, 52);
    auto after = [](const QLabel* l, int gap) { return l->x() + l->width() + gap; };
    const int capW = textWidth(lbljs1_) + 2;
    lbljs1_->setGeometry(after(lblNr_, 20), 24, capW, 27);
    lbljs2_->setGeometry(lbljs1_->x(), 51, capW, 27);
    lbljs_->setGeometry(after(lbljs1_, 10), 12, textWidth(lbljs_) + 6, 68);
    lblje1_->setGeometry(after(lbljs_, 20), 24, capW, 27);
    lblje2_->setGeometry(lblje1_->x(), 51, capW, 27);
    lblje_->setGeometry(after(lblje1_, 10), 12, textWidth(lblje_) + 6, 68);
}

void TFrmMain::UpdateClock()
{
    try {
        lblTime_->setText(ClockText(ModuleClock().Now()));
    } catch (const std::exception& e) {
        ShowHostMessage(QString::fromUtf8(e.what()), StartupErrorCaption(), QString(), InfoKind::Statement,
                        dialogOwner());
    }
}

void TFrmMain::showEvent(QShowEvent* e)
{
    TFrmBase::showEvent(e);
    if (!startupOk_) {
        // Closed from the event loop: the window is still being shown here.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (firstShow_) {
        firstShow_ = false;
        QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen();
        ApplyLayout(sc ? sc->geometry().size() : size());
        timer1_->start();
    }
}

void TFrmMain::closeEvent(QCloseEvent* e)
{
    TFrmBase::closeEvent(e);
    if (closed_)
        return;
    closed_ = true;
    timer1_->stop();
    SaleSession& s = Session();
    if (s.PosPrinter) {
        s.PosPrinter->Close();
        s.PosPrinter->Release();
        s.PosPrinter.reset();
    }
    // Balances the pointer hidden when the screen was opened.
    QGuiApplication::restoreOverrideCursor();
}

void TFrmMain::BeginSaleDocument()
{
    qiantai::BeginSaleDocument(Session(), *this);
    regainFocus();
}

void TFrmMain::regainFocus()
{
    if (closed_ || !isVisible() || QApplication::activeModalWidget())
        return;
    raise();
    activateWindow();
    grid_->setFocus();
}

void TFrmMain::ResetGrid()
{
    grid_->ResetRows();
    RefreshLabels();
    update();
}

void TFrmMain::RefreshLabels()
{
    const SalesLabelTexts t = RefreshLabelTexts(Session());
    lblBmbm_->setText(t.bmbm);
    lblTitle1_->setText(t.title1);
    lblTitle2_->setText(t.title2);
    lblNr_->setText(t.nr);
    lblDjh_->setText(t.djh);
    lbljs_->setText(t.js);
    lblje_->setText(t.je);
    lblBmbm_->adjustSize();
    lblBmbm_->move((panTitle1_->width() - lblBmbm_->width()) / 2, 6);
    flowNumberPanel();
}

bool TFrmMain::ChooseSalesMethod(int& xsfs)
{
    TfrmSelect picker(dialogOwner());
    picker.setSelected(xsfs);
    picker.centreOnScreen();
    if (picker.exec() != TfrmSelect::Confirmed)
        return false;
    xsfs = picker.selected();
    return true;
}

SalesInfoOutcome TFrmMain::EnterSalesInformation(bool withWarehouse)
{
    TfrmInputXsxx dialog(dialogOwner(), Session());
    dialog.setWarehouseEnabled(withWarehouse);
    dialog.centreOnScreen();
    switch (dialog.exec()) {
    case TfrmInputXsxx::Confirmed:
        return SalesInfoOutcome::Confirmed;
    case TfrmInputXsxx::PreviousStep:
        return SalesInfoOutcome::PreviousStep;
    default:
        return SalesInfoOutcome::Exit;
    }
}

int TFrmMain::ShowMessage(const QString& text, InfoKind kind)
{
    return ShowHostMessage(text, QString(), QString(), kind, dialogOwner());
}

void TFrmMain::CloseScreen()
{
    close();
}

bool TFrmMain::IdentifyMemberCard()
{
    SaleSession& s = Session();
    TfrmUseHyk dialog(dialogOwner(), s, StationCardServices(s.Yckqzj, dialogOwner()));
    const QRect avail = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
    dialog.move(avail.center() - dialog.rect().center());
    return dialog.exec() == TfrmUseHyk::Found;
}

void TFrmMain::RefreshMemberLine()
{
    edtHy_->setText(MemberLineText(Session().CurrentMemberCard, edtHy_->text()));
}

void TFrmMain::ClearMemberLine()
{
    edtHy_->clear();
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // The dialogs belong to the host's window, which becomes active again
    // when one closes: the screen takes the keyboard back.
    if (event->type() == QEvent::WindowActivate && startupOk_ && !closed_ && watched != this &&
        watched == Session().HostAppHandle)
        QTimer::singleShot(0, this, &TFrmMain::regainFocus);
    // Every key meant for this screen passes here once, before the focused
    // control sees it.
    if (event->type() == QEvent::KeyPress && startupOk_ && !closed_ && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        QWidget* focus = focusWidget();
        const bool first = focus ? w == focus : w == this;
        // A key the screen acted on ends here: its dialog may have taken the
        // focus from a cell editor, which then goes, and the grid has
        // nothing to do with these keys. Every other key goes on.
        if (first && !QApplication::activeModalWidget() && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    return TFrmBase::eventFilter(watched, event);
}

bool TFrmMain::FormKeyDown(int key)
{
    SaleSession& s = Session();
    SalesKeyState state;
    state.hasLines = !s.SaleLines.IsEmpty();
    state.cursorOnLine = grid_->CurrentRowHasLine();
    state.hasSystemTools = !s.SystemTools.IsEmpty();
    const SalesKeyAction action = DecideSalesKey(key, state);
    if (action == SalesKeyAction::None)
        return false;
    // What an open cell editor holds has not been entered: it is dropped
    // rather than taken while the key's dialog takes the focus.
    grid_->CancelEditor();
    switch (action) {
    case SalesKeyAction::None:
        return false;
    case SalesKeyAction::DeleteLine:
        if (ShowMessage(DeleteLineQuestion(), InfoKind::Question) == Yes)
            deleteCurrentLine();
        break;
    case SalesKeyAction::Checkout:
        Checkout();
        break;
    case SalesKeyAction::Discount:
        Discount();
        break;
    case SalesKeyAction::SystemTools:
        SystemTools();
        break;
    case SalesKeyAction::DeleteAll:
        if (ShowMessage(DeleteAllQuestion(), InfoKind::Question) == Yes)
            deleteAllLines();
        break;
    case SalesKeyAction::NewDocument:
        BeginSaleDocument();
        break;
    case SalesKeyAction::RefuseNewDocument:
        ShowMessage(NewDocumentRefusedText(), InfoKind::Statement);
        break;
    case SalesKeyAction::ExitQuestion:
        if (ShowMessage(ExitModuleQuestion(), InfoKind::Question) == Yes)
            close();
        break;
    case SalesKeyAction::RefuseExit:
        ShowMessage(ExitRefusedText(), InfoKind::Statement);
        break;
    }
    return true;
}

void TFrmMain::Checkout()
{
    const bool recorded = EnterCheckout(dialogOwner(), [this] { grid_->RefreshLines(); });
    grid_->RefreshLines();
    RefreshLabels();
    if (recorded)
        BeginSaleDocument();
}

void TFrmMain::Discount()
{
    if (OpenDiscountEntry(dialogOwner(), grid_->CurrentRow()))
        grid_->RefreshLines();
    RefreshLabels();
}

void TFrmMain::SystemTools()
{
    OpenSystemTools(dialogOwner(), panFooter_);
    RefreshMemberLine();
}

void TFrmMain::deleteCurrentLine()
{
    SaleSession& s = Session();
    const int row = grid_->CurrentRow();
    grid_->SetBusy(true);
    s.SaleLines.Delete(row - 1);
    grid_->RemoveLineRow(row);
    ReleaseDeletedLineOffer(row);
    grid_->SetBusy(false);
    grid_->SetCursor(grid_->CurrentRow(), 0);
    RefreshLabels();
}

void TFrmMain::deleteAllLines()
{
    grid_->SetBusy(true);
    Session().SaleLines.Clear();
    grid_->ResetRows();
    grid_->SetCursor(1, 3);
    grid_->SetBusy(false);
    grid_->SetCursor(1, 0);
    ReleaseOfferReservation(-1);
    RefreshLabels();
}

void TFrmMain::showLineDetails(int row)
{
    const LineDetails d = LineDetailsOf(Session().SaleLines, row);
    footerField("edtBm")->setText(d.code);
    footerField("edtHh")->setText(d.itemNo);
    footerField("edtTm")->setText(d.barCode);
    footerField("edtJldw")->setText(d.unit);
    footerField("edtBzl")->setText(d.packingRate);
    footerField("edtZk")->setText(d.discount);
}

} // namespace qiantai
