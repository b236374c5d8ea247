#pragma once
#include "tools/spelling/automation.h"
#include <QStringList>
#include <memory>

// What a recording server saw, kept after the server itself is released.
struct CallLog
{
    struct Call
    {
        QString command;
        QVariantList arguments;
    };
    std::vector<Call> calls;
    int created = 0;
    int released = 0;

    QStringList commands() const
    {
        QStringList names;
        for (const Call &c : calls)
            names << c.command;
        return names;
    }
};

// A word processor that keeps what it is given: "Selection" returns the inserted text plus `trailer`.
class RecordingServer : public AutomationServer
{
public:
    RecordingServer(std::shared_ptr<CallLog> log, QString failingCommand, QString trailer)
        : log_(std::move(log)), failing_(std::move(failingCommand)), trailer_(std::move(trailer))
    {
        ++log_->created;
    }
    ~RecordingServer() override { ++log_->released; }

    QVariant invoke(const QString &command, const QVariantList &arguments) override
    {
        log_->calls.push_back({command, arguments});
        if (command == failing_)
            throw AutomationError(QStringLiteral("%1 refused").arg(command));
        if (command == QLatin1String("Insert"))
            text_ = arguments.value(0).toString();
        if (command == QLatin1String("Selection"))
            return text_ + trailer_;
        if (command == QLatin1String("SetDocumentVar"))
            variable_ = arguments.value(1).toString();
        if (command == QLatin1String("GetDocumentVar"))
            return replacement.isNull() ? variable_ : replacement;
        return {};
    }

    QString replacement; // when set, "GetDocumentVar" returns this instead

private:
    std::shared_ptr<CallLog> log_;
    QString failing_;
    QString trailer_;
    QString text_;
    QString variable_;
};

struct RecordingSetup
{
    QString failingCommand;
    QString trailer = QStringLiteral("\r");
    QString replacement; // null: echo what was stored
};

inline void registerRecordingServer(AutomationRegistry &registry, std::shared_ptr<CallLog> log, RecordingSetup setup = {})
{
    registry.Register(QStringLiteral("Word.Basic"), [log, setup]() -> std::unique_ptr<AutomationServer> {
        if (setup.failingCommand == QLatin1String("CreateObject"))
            throw AutomationError(QStringLiteral("cannot start"));
        auto server = std::make_unique<RecordingServer>(log, setup.failingCommand, setup.trailer);
        server->replacement = setup.replacement;
        return server;
    });
}
