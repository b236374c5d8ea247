#pragma once
#include "tools/spelling/automation.h"
#include <QStringList>
#include <memory>

// What the recording servers saw, one "Command(argument|argument)" per call, kept after they are released.
struct CallLog
{
    QStringList calls;
    int created = 0;
    int released = 0;
};

struct RecordingSetup
{
    QString failing; // a command, or "CreateObject", that fails
    QString trailer = QStringLiteral("\r"); // appended to the inserted text by "Selection"
    QString replacement; // when not null, what "GetDocumentVar" returns
    bool foreignError = false; // fail with a plain std::exception
};

// A word processor that keeps what it is given.
class RecordingServer : public AutomationServer
{
public:
    RecordingServer(std::shared_ptr<CallLog> log, RecordingSetup setup) : log_(std::move(log)), setup_(std::move(setup))
    {
        ++log_->created;
    }
    ~RecordingServer() override { ++log_->released; }

    QVariant invoke(const QString &command, const QVariantList &arguments) override
    {
        QStringList shown;
        for (const QVariant &a : arguments)
            shown << (a.typeId() == QMetaType::QString ? a.toString() : QString::fromLatin1(a.typeName()));
        log_->calls << command + QLatin1Char('(') + shown.join(QLatin1Char('|')) + QLatin1Char(')');
        if (command == setup_.failing && setup_.foreignError)
            throw std::runtime_error(command.toStdString() + " refused");
        if (command == setup_.failing)
            throw AutomationError(command + QStringLiteral(" refused"));
        if (command == QLatin1String("Insert"))
            text_ = arguments.value(0).toString();
        if (command == QLatin1String("Selection"))
            return text_ + setup_.trailer;
        if (command == QLatin1String("SetDocumentVar"))
            variable_ = arguments.value(1).toString();
        if (command == QLatin1String("GetDocumentVar"))
            return setup_.replacement.isNull() ? variable_ : setup_.replacement;
        return {};
    }

private:
    std::shared_ptr<CallLog> log_;
    RecordingSetup setup_;
    QString text_;
    QString variable_;
};

inline void registerRecordingServer(AutomationRegistry &registry, std::shared_ptr<CallLog> log, RecordingSetup setup = {})
{
    registry.Register(QStringLiteral("Word.Basic"), [log, setup]() -> std::unique_ptr<AutomationServer> {
        if (setup.failing == QLatin1String("CreateObject"))
            throw AutomationError(QStringLiteral("cannot start"));
        return std::make_unique<RecordingServer>(log, setup);
    });
}
