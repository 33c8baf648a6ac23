// Collects the log lines of the qiantai categories while it lives, with the
// categories switched on down to info; the handler and rules before it are
// put back afterwards.
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

namespace qiantai::test {

class LogCapture {
public:
    LogCapture()
    {
        current() = this;
        previous_ = qInstallMessageHandler(&LogCapture::handle);
        QLoggingCategory::setFilterRules(QStringLiteral("qiantai.*.info=true"));
    }
    ~LogCapture()
    {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // "category: message", in the order they came.
    const QStringList& lines() const { return lines_; }
    // The lines of `category`, without the category.
    QStringList linesOf(const char* category) const
    {
        const QString prefix = QString::fromLatin1(category) + QStringLiteral(": ");
        QStringList found;
        for (const QString& line : lines_)
            if (line.startsWith(prefix))
                found.append(line.mid(prefix.size()));
        return found;
    }

private:
    static LogCapture*& current()
    {
        static LogCapture* capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (LogCapture* c = current())
            c->lines_.append(QString::fromLatin1(context.category ? context.category : "default") +
                             QStringLiteral(": ") + message);
    }

    QtMessageHandler previous_ = nullptr;
    QStringList lines_;
};

} // namespace qiantai::test
