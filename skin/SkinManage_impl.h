// Private to the manager's sources: what the popup-skin bookkeeping offers the rest of
// the manager.
#pragma once

class TSkinData;
class TWinSkinPopMenu;

// The popup skin paints through this component.
bool PopupSkinUsesSkinData(TWinSkinPopMenu* skin, TSkinData* skinData);
