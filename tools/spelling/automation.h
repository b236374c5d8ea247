#pragma once
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <stdexcept>

// An error raised by an automation server or by the layer itself. `reason` is for a person.
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const QString &reason)
        : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString &reason() const { return reason_; }

private:
    QString reason_;
};

// What a server implements: commands dispatched late, by name. A COM backend fits behind this too.
class AutomationServer
{
public:
    virtual ~AutomationServer() = default;
    // Throws AutomationError (or any std::exception) when the command fails or is unknown.
    virtual QVariant invoke(const QString &command, const QVariantList &arguments) = 0;
};

// One reference to a server, released when the object goes out of scope.
class AutomationObject
{
public:
    explicit AutomationObject(std::unique_ptr<AutomationServer> server);
    AutomationObject(AutomationObject &&) noexcept = default;
    AutomationObject &operator=(AutomationObject &&) noexcept = default;
    ~AutomationObject() = default;

    // Every failure of the server comes out as an AutomationError.
    QVariant call(const QString &command, const QVariantList &arguments = {});

private:
    std::unique_ptr<AutomationServer> server_;
};

// Maps ProgIDs to the factories of their servers.
class AutomationRegistry
{
public:
    // Builds a server; throws AutomationError when the server cannot start.
    using Factory = std::function<std::unique_ptr<AutomationServer>()>;

    void Register(const QString &progId, Factory factory);
    bool isRegistered(const QString &progId) const;
    AutomationObject CreateObject(const QString &progId) const;

private:
    QHash<QString, Factory> factories_;
};

// The program's registry, with the built-in servers ("Word.Basic") registered. Nothing starts until created.
AutomationRegistry &defaultAutomation();
