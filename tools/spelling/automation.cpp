#include "tools/spelling/automation.h"

namespace {

// ProgIDs, like command names, are not case-sensitive.
QString keyOf(const QString &progId) { return progId.toCaseFolded(); }

template <typename Call>
auto reportingFailures(Call call)
{
    try {
        return call();
    } catch (const AutomationError &) {
        throw;
    } catch (const std::exception &e) {
        throw AutomationError(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

AutomationObject::AutomationObject(std::unique_ptr<AutomationServer> server) : server_(std::move(server))
{
    if (!server_)
        throw AutomationError(QStringLiteral("The automation server did not start."));
}

QVariant AutomationObject::call(const QString &command, const QVariantList &arguments)
{
    if (!server_)
        throw AutomationError(QStringLiteral("The automation object has been released."));
    return reportingFailures([&] { return server_->invoke(command, arguments); });
}

void AutomationRegistry::Register(const QString &progId, Factory factory)
{
    factories_.insert(keyOf(progId), std::move(factory));
}

bool AutomationRegistry::isRegistered(const QString &progId) const { return factories_.contains(keyOf(progId)); }

AutomationObject AutomationRegistry::CreateObject(const QString &progId) const
{
    const auto found = factories_.constFind(keyOf(progId));
    if (found == factories_.cend())
        throw AutomationError(QStringLiteral("No automation server is registered as \"%1\".").arg(progId));
    return reportingFailures([&] { return AutomationObject((*found)()); });
}
