// A page is one process: nobody can connect, so there is no listener. Start fails, the
// process publishes no record, and the program runs as it does without the phone.
#include "ipc/CeIpcServer.h"

bool CeIpcServer::Start() {
    return false;
}

void CeIpcServer::SetHandler(Kind, Handler) {}

std::string CeIpcServer::Name() {
    return {};
}
