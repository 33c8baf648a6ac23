// The system tools menu "系统功能": one numbered row per tool of SystemTools,
// the selection label and the key hint.
#pragma once

#include "controls/blueframe.h"
#include "sale/saleitems.h"

class QLabel;
class QListWidget;

namespace qiantai {

class TFrmSysTool : public TBlueFrame {
    Q_OBJECT
public:
    TFrmSysTool(QWidget* parent, const TAllSysTools& tools);

    // After exec() returned 1: the chosen entry, counting from 1.
    int Chosen() const { return chosen_; }
    // The selected row, 0-based.
    int Selected() const;
    QString SelectionText() const;
    QListWidget* List() const { return list_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Select(int row);

    QListWidget* list_;
    QLabel* selection_;
    int chosen_ = 0;
};

} // namespace qiantai
