# The drawing half of the skin engine (Windows only).
add_library(skin STATIC
  "${CMAKE_CURRENT_LIST_DIR}/ImgUtil.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinPrimitives.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinPrimitivesPlatform.cpp")
target_include_directories(skin PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(skin PUBLIC classlib gdi32 user32 msimg32)
if(TARGET skin_core)
  target_link_libraries(skin PUBLIC skin_core)
endif()
# The skin component, the definition model and its loading (WinSkinData.h), and the link
# to the skin manager (SkinManagerLink.h).
target_sources(skin PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/Skin3rd.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinManagerLink.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinData.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinDataParse.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinDataParts.cpp")
# The one way the skins subclass a window (SubclassedWindow.h).
target_sources(skin PRIVATE "${CMAKE_CURRENT_LIST_DIR}/SubclassedWindow.cpp")
# The form skin (WinSkinForm.h) and the skin manager (SkinManage.h).
target_sources(skin PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/NCObjects.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinManage.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinManagePopups.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinForm.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormDispatch.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormFrame.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormGeometry.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormProc.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormSysMenu.cpp")
# The popup-menu window skin, the skinned menu bar's geometry, the owner-drawn menu items
# and the shared free drawing helpers.
target_sources(skin PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/SkinDrawHelpers.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuItems.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuLayout.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinPopMenu.cpp")
# The skinned menu bar and the form skin's menu operations: opening the bar's items, the
# keyboard, the owner-drawn items of the bar's drop-downs and of the form's menus.
target_sources(skin PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormMenus.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormMenusDraw.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinMenu.cpp")
# The control skins (WinSubClass.h and one header per family), each family in its own
# WinSubClass*.cpp; the factory names them all.
file(GLOB SKIN_CONTROL_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/WinSubClass*.cpp")
target_sources(skin PRIVATE ${SKIN_CONTROL_SOURCES})
