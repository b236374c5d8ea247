#include "recording_server.h"
#include <gtest/gtest.h>

namespace {

class ThrowingServer : public AutomationServer
{
public:
    QVariant invoke(const QString &, const QVariantList &) override { throw std::runtime_error("out of paper"); }
};

TEST(AutomationRegistryTest, AnUnregisteredProgIdCannotBeCreated)
{
    AutomationRegistry registry;
    try {
        registry.CreateObject(QStringLiteral("No.Such"));
        FAIL() << "created an object for an unknown ProgID";
    } catch (const AutomationError &e) {
        EXPECT_TRUE(e.reason().contains(QLatin1String("No.Such")));
    }
}

TEST(AutomationRegistryTest, ProgIdsAndCommandsAreCalledWhateverTheirCase)
{
    AutomationRegistry registry;
    auto log = std::make_shared<CallLog>();
    registerRecordingServer(registry, log);
    AutomationObject object = registry.CreateObject(QStringLiteral("word.basic"));
    object.call(QStringLiteral("FileNew"));
    EXPECT_EQ(log->commands(), QStringList{QStringLiteral("FileNew")});
}

TEST(AutomationRegistryTest, AServersOwnExceptionsComeOutAsAutomationErrors)
{
    AutomationRegistry registry;
    registry.Register(QStringLiteral("Printer.Basic"), [] { return std::make_unique<ThrowingServer>(); });
    AutomationObject object = registry.CreateObject(QStringLiteral("Printer.Basic"));
    try {
        object.call(QStringLiteral("Print"));
        FAIL();
    } catch (const AutomationError &e) {
        EXPECT_EQ(e.reason(), QStringLiteral("out of paper"));
    }
}

TEST(AutomationRegistryTest, TheObjectIsReleasedWhenItGoesOutOfScopeAndOnlyOnce)
{
    AutomationRegistry registry;
    auto log = std::make_shared<CallLog>();
    registerRecordingServer(registry, log);
    {
        AutomationObject first = registry.CreateObject(QStringLiteral("Word.Basic"));
        AutomationObject moved = std::move(first);
        EXPECT_EQ(log->released, 0);
    }
    EXPECT_EQ(log->created, 1);
    EXPECT_EQ(log->released, 1);
}

TEST(AutomationRegistryTest, TheProgramsRegistryKnowsWordBasic)
{
    EXPECT_TRUE(defaultAutomation().isRegistered(QStringLiteral("Word.Basic")));
}

} // namespace
