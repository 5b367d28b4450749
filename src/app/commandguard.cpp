#include "app/commandguard.h"

#include <exception>

#include "engine/engineerror.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

bool RunGuarded(CMessageBox& messages, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const CEngineError& error) {
        messages.Show(error.what());
    } catch (const std::exception& error) {
        // The last resort for what the standard library raises (a file system error, no memory):
        // the command ends, the program goes on.
        messages.Show(std::string(CUserText::tr("Error: ")) + error.what());
    }
    return false;
}
