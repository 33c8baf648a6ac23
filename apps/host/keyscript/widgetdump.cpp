#include "keyscript/widgetdump.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

namespace qiantai::keyscript {

namespace {

QString Flat(QString text)
{
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

void DumpWindow(QWidget* window, QStringList& lines)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || w->objectName().isEmpty() || !w->isVisibleTo(window))
            continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            lines << QStringLiteral("label\t%1\t%2").arg(l->objectName(), Flat(l->text()));
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            lines << QStringLiteral("edit\t%1\t%2").arg(e->objectName(), Flat(e->text()));
        } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
            const QAbstractItemModel* m = v->model();
            if (!m)
                continue;
            for (int r = 0; r < m->rowCount(); ++r) {
                QStringList row{QStringLiteral("row"), v->objectName(), QString::number(r)};
                for (int c = 0; c < m->columnCount(); ++c)
                    row << Flat(m->index(r, c).data().toString());
                lines << row.join(QLatin1Char('\t'));
            }
        }
    }
}

} // namespace

QString DumpWidgetTexts()
{
    QStringList lines;
    // Windows owned by another window (dialogs, the module's screen) are
    // top-level widgets of their own.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            DumpWindow(window, lines);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString DumpVisibleWindows()
{
    QStringList lines;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        lines << QStringLiteral("window\t%1\t%2")
                     .arg(window->objectName(), QString::fromLatin1(window->metaObject()->className()));
        DumpWindow(window, lines);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ShownText(const QWidget* widget)
{
    if (auto* l = qobject_cast<const QLabel*>(widget))
        return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(widget))
        return e->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(widget))
        return b->text();
    return widget->windowTitle();
}

QWidget* FindShownWidget(const QString& name, const QString* text)
{
    const auto matches = [&](QWidget* w) {
        return w->objectName() == name && (!text || ShownText(w).trimmed() == text->trimmed());
    };
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (matches(window))
            return window;
        for (QWidget* w : window->findChildren<QWidget*>(name)) {
            if (w->window() == window && w->isVisibleTo(window) && matches(w))
                return w;
        }
    }
    return nullptr;
}

} // namespace qiantai::keyscript
