# The standard controls (edits, memos, list boxes, buttons, bit buttons, panels, splitters,
# progress and status bars, the rich edit) and the printer.  Included from
# classlib/CMakeLists.txt after the classlib target is made.
target_sources(classlib PRIVATE
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ExtCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrls.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/RichEdit.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Printers.cpp")
