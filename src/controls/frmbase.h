// Base of the full-screen sales form: a borderless window filled by one
// panel, resized by the host (event 1026) and announcing its close to the
// host's container (event 1028).
#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;

namespace qiantai {

class TFrmBase : public QWidget {
    Q_OBJECT
public:
    // `owner` becomes the window's parent; `hostControl` receives the close event.
    TFrmBase(QWidget* owner, QWidget* hostControl);

    QFrame* PanelMain() const { return panelMain_; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QFrame* panelMain_;
    QPointer<QWidget> hostControl_;
    bool closeAnnounced_ = false;
};

} // namespace qiantai
