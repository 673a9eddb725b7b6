// TOleServer: the component that stands for one automation server object on a form.
// Stored properties ConnectKind, AutoConnect and AutoQuit; it connects when loaded (with
// AutoConnect) or on the first call, calls the object by member name, and lets go of it
// when disconnected or freed, asking the server to quit first only when AutoQuit is set.
// Which server and which members is the business of each descendant (WordServer.h).
//
// Types: TOleServer; ConnectKindNames (the stored names of TConnectKind).
#pragma once
#include "Classes.h"
#include "ComObj.h"

extern const TEnumNames ConnectKindNames;

class TOleServer : public TComponent {
    CLASS_INFO(TOleServer)
public:
    explicit TOleServer(TComponent* owner);
    ~TOleServer() override;

    // Defaults: running-or-new, no connection before the first call, never asking the
    // server to quit (a server the user works in is left alone unless the form says so).
    TConnectKind ConnectKind() const { return connectKind_; }
    void SetConnectKind(TConnectKind k) { connectKind_ = k; }
    bool AutoConnect() const { return autoConnect_; }
    void SetAutoConnect(bool v) { autoConnect_ = v; }
    bool AutoQuit() const { return autoQuit_; }
    void SetAutoQuit(bool v) { autoQuit_ = v; }

    // Reaches the server's object as ConnectKind says; nothing when connected already.
    // Raises EOleSysError when the object cannot be reached (and stays unconnected).
    virtual void Connect();
    // Lets go of the object (after asking the server to quit, with AutoQuit).  Never
    // raises: a server that is gone already is as disconnected as can be.
    virtual void Disconnect() noexcept;
    bool Connected() const noexcept { return static_cast<bool>(server_); }

    // The connected object, connecting first when needed.
    OleDispatch& Server();

protected:
    // The class id of the server's object.
    virtual const CLSID& ServerClassId() const = 0;
    // Asks the server to end (AutoQuit); the default has nothing to ask.
    virtual void DoQuit() {}
    void Loaded() override;

private:
    TConnectKind connectKind_ = ckRunningOrNew;
    bool autoConnect_ = false;
    bool autoQuit_ = false;
    OleDispatch server_;
};
