#include "app/commandguard.h"

#include "engine/engineerror.h"
#include "platform/messagebox.h"

bool RunGuarded(CMessageBox& messages, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const CEngineError& error) {
        messages.Show(error.what());
        return false;
    }
}
