#include "controls/blueframe.h"

#include "controls/cjkfont.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace qiantai {

namespace {

constexpr int SideMargin = 9;
constexpr int HeadingHeight = 32;
constexpr int Gap = 6;
constexpr int HintHeight = 36;
constexpr int BottomMargin = 10;

const QColor FrameBack(0xDC, 0xEB, 0xFA);
const QColor FrameBorder(0x3F, 0x76, 0xB5);
const QColor HeadingBack(0x3F, 0x76, 0xB5);

} // namespace

FrameGeometry StandardFrameGeometry(QSize bodySize)
{
    FrameGeometry g;
    const int width = bodySize.width() + 2 * SideMargin;
    const int bodyTop = HeadingHeight + Gap;
    const int hintTop = bodyTop + bodySize.height() + Gap;
    g.frame = QSize(width, hintTop + HintHeight + BottomMargin);
    g.heading = QRect(0, 0, width, HeadingHeight);
    g.body = QRect(QPoint(SideMargin, bodyTop), bodySize);
    g.hint = QRect(SideMargin, hintTop, bodySize.width(), HintHeight);
    return g;
}

bool IsEnterKey(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool IsEscKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Escape;
}

TBlueFrame::TBlueFrame(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), heading_(new QLabel(this)),
      body_(new QWidget(this)), hint_(new QLabel(this))
{
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, FrameBack);
    setPalette(pal);

    heading_->setObjectName(QStringLiteral("frameHeading"));
    heading_->setFont(SongtiPixelFont(16, true));
    heading_->setAlignment(Qt::AlignCenter);
    heading_->setTextFormat(Qt::PlainText);
    heading_->setAutoFillBackground(true);
    QPalette headingPal = heading_->palette();
    headingPal.setColor(QPalette::Window, HeadingBack);
    headingPal.setColor(QPalette::WindowText, Qt::white);
    heading_->setPalette(headingPal);

    body_->setObjectName(QStringLiteral("frameBody"));
    body_->setAutoFillBackground(true);
    QPalette bodyPal = body_->palette();
    bodyPal.setColor(QPalette::Window, QColor(0xF4, 0xF9, 0xFF));
    body_->setPalette(bodyPal);

    hint_->setObjectName(QStringLiteral("frameHint"));
    hint_->setFont(SongtiPixelFont(14));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setTextFormat(Qt::PlainText);

    setBodySize(QSize(317, 48));
}

void TBlueFrame::setHeading(const QString& text)
{
    heading_->setText(text);
}

QString TBlueFrame::heading() const
{
    return heading_->text();
}

void TBlueFrame::setKeyHint(const QString& text)
{
    hint_->setText(text);
}

QString TBlueFrame::keyHint() const
{
    return hint_->text();
}

void TBlueFrame::setBodySize(QSize size)
{
    const FrameGeometry g = StandardFrameGeometry(size);
    setFixedSize(g.frame);
    heading_->setGeometry(g.heading);
    body_->setGeometry(g.body);
    hint_->setGeometry(g.hint);
}

QSize TBlueFrame::bodySize() const
{
    return body_->size();
}

void TBlueFrame::centreOnScreen()
{
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void TBlueFrame::finish(int result)
{
    finishing_ = true;
    done(result);
    finishing_ = false;
}

void TBlueFrame::reject()
{
    if (finishing_)
        QDialog::reject();
}

void TBlueFrame::routeKeys(QWidget* widget)
{
    widget->installEventFilter(this);
}

void TBlueFrame::keyPressEvent(QKeyEvent* event)
{
    if (frameKey(event))
        event->accept();
    else
        event->ignore();
}

void TBlueFrame::closeEvent(QCloseEvent* event)
{
    if (finishing_)
        event->accept();
    else
        event->ignore();
}

void TBlueFrame::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(FrameBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TBlueFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched != this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (frameKey(key)) {
            key->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qiantai
