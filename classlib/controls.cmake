# The standard controls (edits, memos, list boxes, buttons, bit buttons, check boxes, radio
# buttons, group boxes, combo boxes, scroll bars, panels, splitters, progress and status
# bars, track bars, up-downs, tabs and pages, list views, headers, date-time pickers, the
# media player, tab sets and tabbed notebooks, the rich edit) and the printer.  Included from
# classlib/CMakeLists.txt after the classlib target is made.
target_sources(classlib PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrlsChecks.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrlsCombo.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ExtCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrlsRange.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrlsTabs.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrlsList.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrlsDate.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/MPlayer.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Tabs.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/RichEdit.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ButtonsSpeed.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Printers.cpp")
