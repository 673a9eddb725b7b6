#include "OleServer.h"

const TEnumNames ConnectKindNames{
    {{"ckRunningOrNew", ckRunningOrNew}, {"ckNewInstance", ckNewInstance}, {"ckRunningInstance", ckRunningInstance}}};

const TClassInfo& TOleServer::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TOleServer>("TOleServer", &TComponent::StaticClassInfo(), [](TClassBuilder<TOleServer>& b) {
            b.Enum("ConnectKind", ConnectKindNames, [](TOleServer& s) -> int64_t { return s.ConnectKind(); },
                   [](TOleServer& s, int64_t v) { s.SetConnectKind(static_cast<TConnectKind>(v)); });
            b.Bool("AutoConnect", [](TOleServer& s) { return s.AutoConnect(); },
                   [](TOleServer& s, bool v) { s.SetAutoConnect(v); });
            b.Bool("AutoQuit", [](TOleServer& s) { return s.AutoQuit(); }, [](TOleServer& s, bool v) { s.SetAutoQuit(v); });
        });
    return info;
}

TOleServer::TOleServer(TComponent* owner) : TComponent(owner) {}

TOleServer::~TOleServer() { Disconnect(); }

void TOleServer::Connect() {
    if (server_) return;
    server_ = OleDispatch::FromUnknown(ConnectServerObject(ServerClassId(), connectKind_).Get());
}

void TOleServer::Disconnect() noexcept {
    if (!server_) return;
    if (autoQuit_) {
        try {
            DoQuit();
        } catch (...) {
            // The server may have ended already; letting go is all that is left to do.
        }
    }
    server_ = OleDispatch();
}

OleDispatch& TOleServer::Server() {
    Connect();
    return server_;
}

void TOleServer::Loaded() {
    TComponent::Loaded();
    if (autoConnect_) Connect();
}
