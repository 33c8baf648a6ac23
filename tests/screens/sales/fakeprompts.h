// EntryPrompts for tests: records every message and answers the pick list.
#pragma once

#include "screens/sales/itementry.h"

#include <QList>

namespace qiantai::test {

class FakePrompts : public EntryPrompts {
public:
    struct Message {
        QVariant text;
        QString caption;
        InfoKind kind;
    };

    int ShowMessage(const QVariant& message, const QString& caption, InfoKind kind) override
    {
        messages.append({message, caption, kind});
        return 1;
    }
    bool PickProduct(const DataPacket& products, int& chosenRow) override
    {
        picked.append(products);
        chosenRow = pickRow;
        return pickRow >= 0;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out.append(m.text.toString());
        return out;
    }

    QList<Message> messages;
    QList<DataPacket> picked;
    int pickRow = 0; // -1 cancels the pick list
};

} // namespace qiantai::test
