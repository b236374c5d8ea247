#include "document/run_command.h"
#include "editor/command_failure.h"
#include "editor/message_box.h"

bool runCommand(MessageBoxSeam &messages, const std::function<void()> &steps)
{
    try {
        steps();
        return true;
    } catch (const DialogCancelled &) {
        return false;
    } catch (const CommandFailure &failure) {
        messages.MsgBox(failure.reason(), vb::vbOKOnly);
        return false;
    }
}
