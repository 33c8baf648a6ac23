#include "screens/cards/systools.h"

#include "sale/salesession.h"
#include "screens/cards/cardscreencontext.h"
#include "screens/cards/frmhykzf.h"
#include "screens/cards/frmusehyk.h"
#include "screens/lookups/frmsystool.h"
#include "screens/lookups/frmsystoolrules.h"

#include <QDialog>
#include <QHash>

namespace qiantai {

namespace {

QHash<QString, ToolFormFactory>& Registry()
{
    static QHash<QString, ToolFormFactory> registry;
    return registry;
}

QHash<QString, ToolAction>& Actions()
{
    static QHash<QString, ToolAction> actions;
    return actions;
}

QRect GlobalRect(const QWidget* w)
{
    return w ? QRect(w->mapToGlobal(QPoint(0, 0)), w->size()) : QRect();
}

} // namespace

void RegisterToolForm(const QString& formName, ToolFormFactory factory)
{
    Registry().insert(formName, std::move(factory));
}

void RegisterToolAction(const QString& formName, ToolAction action)
{
    Actions().insert(formName, std::move(action));
}

std::unique_ptr<QDialog> OpenToolForm(const QString& formName, QWidget* parent,
                                      const CardScreenContext& context)
{
    if (formName == QLatin1String("FrmHykzf")) {
        auto screen = std::make_unique<TFrmHykzf>(parent, context);
        screen->QueryOnly = true;
        return screen;
    }
    if (formName == QLatin1String("FrmUseHyk") && context.session && context.cards)
        return std::make_unique<TfrmUseHyk>(parent, *context.session, *context.cards);
    const auto it = Registry().constFind(formName);
    if (it != Registry().constEnd() && *it)
        return (*it)(parent);
    return nullptr;
}

bool OpenSystemTools(QWidget* owner, QWidget* footer)
{
    SaleSession& s = Session();
    if (s.SystemTools.IsEmpty())
        return false;
    const QRect footerRect = GlobalRect(footer);
    TFrmSysTool menu(owner, s.SystemTools);
    menu.adjustSize();
    const QSize menuSize = menu.size();
    menu.move(SysToolMenuPosition(footerRect, menuSize));
    if (menu.exec() != 1 || menu.Chosen() < 1 || menu.Chosen() > s.SystemTools.Count())
        return false;
    const QString formName = s.SystemTools.Item(menu.Chosen() - 1).FormName;
    if (const ToolAction action = Actions().value(formName)) {
        menu.hide();
        action(owner);
        return true;
    }
    CardScreenEnvironment environment(owner);
    std::unique_ptr<QDialog> screen = OpenToolForm(formName, owner, environment.context());
    if (screen) {
        screen->adjustSize();
        screen->move(SysToolScreenPosition(footerRect, menuSize, screen->size()));
        menu.move(-1000, menu.y());
        screen->exec();
    }
    return true;
}

} // namespace qiantai
