#include "flash/FSCommand.h"

sigslot::signal1<const char*>& FSCommandSignal() {
    static sigslot::signal1<const char*> signal;
    return signal;
}

void FSCommandCallback(swfplayer::character* /*movie*/, const char* command, const char* /*args*/) {
    FSCommandSignal().emit(command ? command : "");
}
