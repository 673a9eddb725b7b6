// Private to the menu sources: the list of live menus (the popup list window and the
// shortcut dispatch look items up in all of them) and the helpers that search it.
#pragma once
#include <windows.h>

#include <vector>

#include "Menus.h"

namespace menus_impl {

// Every TMenu that exists, in order of creation.
std::vector<TMenu*>& LiveMenus();
// The menu holding the item with this command id (and the item), or nullptr.
TMenu* MenuOfCommand(UINT command, TMenuItem** item = nullptr);
// The item whose popup handle this is, in any menu.
TMenuItem* ItemOfHandle(HMENU menu);

}  // namespace menus_impl
