// One message of the control socket.
#include "app/operator_actions.h"
#include "scratch.h"
#include "tools/control_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ControlCommand command = ParseControlMessage(InputBytes(data, size));
    if (command.verb ? !command.error.isEmpty() ||
                           !CheckVerbArgument(*command.verb, command.argument).isEmpty()
                     : command.error.isEmpty())
        std::abort();
    return 0;
}
