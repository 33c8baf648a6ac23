// F10 on the sales screen: the system tools menu and the tool screens it
// opens.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace qiantai {

struct CardScreenContext;

// Makes a tool screen owned by `parent`.
using ToolFormFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

// Makes the tool screen named `formName` (a name the station adds).
void RegisterToolForm(const QString& formName, ToolFormFactory factory);

// Runs the tool named `formName` in place of a screen, for a tool that shows
// none of its own (the receipt reprint); `owner` owns its messages.
using ToolAction = std::function<void(QWidget* owner)>;
void RegisterToolAction(const QString& formName, ToolAction action);

// "FrmUseHyk": the member card identification; "FrmHykzf": the member card
// screen in balance-query mode, both with `context`; a registered name: its
// screen; any other name: none.
std::unique_ptr<QDialog> OpenToolForm(const QString& formName, QWidget* parent,
                                      const CardScreenContext& context);

// Shows the menu of Session().SystemTools placed over `footer` and opens the
// chosen tool's screen there, modally, or runs its registered action; nothing
// when the list is empty. The caller refreshes its member line afterwards.
// True when a tool was chosen.
bool OpenSystemTools(QWidget* owner, QWidget* footer);

} // namespace qiantai
