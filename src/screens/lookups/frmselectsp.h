// The product pick list: chooses one of several products that a typed code
// matched. Up, Down and the mouse move the highlight; Enter chooses the
// highlighted product, Esc cancels; nothing else closes it.
#pragma once

#include "controls/blueframe.h"
#include "qiantai/datapacket.h"

class QTableWidget;

namespace qiantai {

class TfrmSelectSp : public TBlueFrame {
    Q_OBJECT
public:
    explicit TfrmSelectSp(QWidget* parent);

    // One line per row, in order; the first line is highlighted.
    void setRows(const DataPacket& rows);
    const DataPacket& rows() const { return rows_; }
    // The chosen row of rows() after exec() returned Accepted; -1 otherwise.
    int chosenRow() const { return chosenRow_; }

    QTableWidget* list() const { return list_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* list_;
    DataPacket rows_;
    int chosenRow_ = -1;
};

} // namespace qiantai
