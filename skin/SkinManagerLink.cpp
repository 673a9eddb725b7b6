// The process-wide skin manager reference and the factory that makes it.  The default
// factory makes a link that does nothing but keep the shared state.
#include "SkinManagerLink.h"

namespace {

struct ManagerHolder {
    TSkinManagerFactory factory;
    std::unique_ptr<TSkinManagerLink> manager;
};

ManagerHolder& holder() {
    static ManagerHolder h;
    return h;
}

}  // namespace

void SetSkinManagerFactory(TSkinManagerFactory factory) { holder().factory = std::move(factory); }

TSkinManagerLink* SkinManager() { return holder().manager.get(); }

TSkinManagerLink* CreateSkinManager() {
    ManagerHolder& h = holder();
    if (!h.manager) h.manager = h.factory ? h.factory() : std::make_unique<TSkinManagerLink>();
    if (!h.manager) h.manager = std::make_unique<TSkinManagerLink>();
    return h.manager.get();
}

void FreeSkinManager() {
    // Taken out of the reference first: components unregistering while the manager is
    // destroyed see no manager.
    std::unique_ptr<TSkinManagerLink> gone = std::move(holder().manager);
    gone.reset();
}
